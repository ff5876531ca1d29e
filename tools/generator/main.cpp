// vorpakgen: reads a grammar source and writes the generated table classes.
//
//   vorpakgen [--listing FILE] <grammar source> <output directory>
//   vorpakgen --files <grammar name>     (prints the files it would write)

#include <fstream>
#include <iostream>
#include <memory>

#include "Emitter.h"
#include "Source.h"
#include "frontends.h"

int main(int argc, char** argv) {
    std::string listing_path;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--listing" && i + 1 < argc)
            listing_path = argv[++i];
        else
            args.push_back(a);
    }
    if (args.size() == 2 && args[0] == "--files") {
        for (const std::string& f : gen::emitted_files(args[1]))
            std::cout << f << "\n";
        return 0;
    }
    if (args.size() != 2) {
        std::cerr << "usage: vorpakgen [--listing FILE] <grammar source> <output directory>\n";
        return 2;
    }
    try {
        gen::Source src = gen::Source::read(args[0]);
        std::string kind = src.kind();
        gen::FrontEnd front = nullptr;
        if (kind == "lr")
            front = gen::build_lr;
        else if (kind == "lexical")
            front = gen::build_lexical;
        else
            src.fault(src.directive("kind")->number, "unknown grammar kind '" + kind + "'");
        std::unique_ptr<std::ofstream> listing;
        if (!listing_path.empty())
            listing.reset(new std::ofstream(listing_path));
        std::map<std::string, long> counts;
        gen::TableSet tables = front(src, listing.get(), counts);
        for (const auto& c : gen::standard_counts(tables))
            counts.emplace(c.first, c.second);
        gen::check_expectations(src, counts);
        gen::emit(tables, args[1]);
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
