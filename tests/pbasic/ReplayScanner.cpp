#include "ReplayScanner.h"

#include <cctype>
#include <map>

ReplayScanner::ReplayScanner(std::vector<Token> tokens) : tokens(std::move(tokens)) {}

int ReplayScanner::next(std::wstring* text) {
    current_line = 1 + lines_ended;
    const Token& t = tokens[pos++];
    *text = t.text;
    last = t.id;
    if (t.id == pb::CR)
        ++lines_ended;
    return t.id;
}

int ReplayScanner::equivalent(int order) {
    if (order == 0)
        return last;
    std::vector<int> alternatives;
    if (last == pb::integer)
        alternatives = {pb::linenum, pb::real};
    else if (last == pb::equals)
        alternatives = {pb::rel_op};
    else if (last == pb::minus)
        alternatives = {pb::add_op};
    else if (last == pb::OK)
        alternatives = {pb::name};
    if (order < 0 || order > static_cast<int>(alternatives.size()))
        return -1;
    return alternatives[order - 1];
}

namespace {

const std::map<std::string, int>& keywords() {
    static const std::map<std::string, int> table = {
        {"END", 128},        {"FOR", 129},      {"NEXT", 130},      {"INPUT", 132},
        {"DEL", 133},        {"DIM", 134},      {"READ", 135},      {"GR", 136},
        {"TEXT", 137},       {"PR#", 138},      {"IN#", 139},       {"CALL", 140},
        {"PLOT", 141},       {"HLIN", 142},     {"VLIN", 143},      {"HGR2", 144},
        {"HGR", 145},        {"HCOLOR", 146},   {"HPLOT", 147},     {"DRAW", 148},
        {"XDRAW", 149},      {"HTAB", 150},     {"HOME", 151},      {"ROT", 152},
        {"SCALE", 153},      {"SHLOAD", 154},   {"TRACE", 155},     {"NOTRACE", 156},
        {"NORMAL", 157},     {"INVERSE", 158},  {"FLASH", 159},     {"COLOR", 160},
        {"POP", 161},        {"VTAB", 162},     {"HIMEM", 163},     {"LOMEM", 164},
        {"ONERR", 165},      {"RESUME", 166},   {"RECALL", 167},    {"STORE", 168},
        {"SPEED", 169},      {"LET", 170},      {"GOTO", 171},      {"RUN", 172},
        {"IF", 173},         {"RESTORE", 174},  {"GOSUB", 176},     {"RETURN", 177},
        {"STOP", 179},       {"ON", 180},       {"WAIT", 181},      {"LOAD", 182},
        {"SAVE", 183},       {"DEF", 184},      {"POKE", 185},      {"PRINT", 186},
        {"CONT", 187},       {"LIST", 188},     {"CLEAR", 189},     {"GET", 190},
        {"NEW", 191},        {"TAB", 192},      {"TO", 193},        {"FN", 194},
        {"SPC", 195},        {"THEN", 196},     {"AT", 197},        {"NOT", 198},
        {"STEP", 199},       {"AND", 205},      {"OR", 206},        {"SGN", 210},
        {"INT", 211},        {"ABS", 212},      {"USR", 213},       {"FRE", 214},
        {"SCRN", 215},       {"PDL", 216},      {"POS", 217},       {"SQR", 218},
        {"RND", 219},        {"LOG", 220},      {"EXP", 221},       {"COS", 222},
        {"SIN", 223},        {"TAN", 224},      {"ATN", 225},       {"PEEK", 226},
        {"LEN", 227},        {"STR$", 228},     {"VAL", 229},       {"ASC", 230},
        {"CHR$", 231},       {"LEFT$", 232},    {"RIGHT$", 233},    {"MID$", 234},
        {"XPLOT", 235},      {"OK", pb::OK},    {"?", 63},          {"=", pb::equals},
        {"-", pb::minus},    {"+", pb::add_op}, {"*", pb::mult_op}, {"/", pb::mult_op},
        {"^", pb::power_op}, {"<", pb::rel_op}, {">", pb::rel_op},  {":", pb::colon},
        {";", 65558},        {",", 65559},      {"(", 65561},       {")", 65562},
    };
    return table;
}

std::wstring widen(const std::string& s) {
    return std::wstring(s.begin(), s.end());
}

std::string upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

int classify(const std::string& word) {
    auto kw = keywords().find(upper(word));
    if (kw != keywords().end())
        return kw->second;
    if (word.size() >= 2 && word.front() == '"')
        return pb::string;
    if (std::isdigit(static_cast<unsigned char>(word[0])))
        return word.find_first_of(".E") == std::string::npos ? pb::integer : pb::real;
    return pb::name;
}

} // namespace

std::vector<ReplayScanner::Token> tokenize(const std::string& program) {
    std::vector<ReplayScanner::Token> out;
    std::size_t i = 0;
    while (i < program.size()) {
        char c = program[i];
        if (c == ' ') {
            ++i;
            continue;
        }
        if (c == '\n') {
            out.push_back({pb::CR, L"\r"});
            ++i;
            continue;
        }
        std::size_t end = program.find_first_of(" \n", i);
        if (end == std::string::npos)
            end = program.size();
        std::string word = program.substr(i, end - i);
        std::string head = upper(word.substr(0, 4));
        bool data = head == "DATA";
        if (data || head.compare(0, 3, "REM") == 0) {
            // A comment runs to the end of its line, a DATA statement to the
            // end of its line or to its first ":".
            std::size_t eol = program.find_first_of(data ? ":\n" : "\n", i);
            if (eol == std::string::npos)
                eol = program.size();
            std::size_t last = program.find_last_not_of(' ', eol - 1);
            out.push_back(
                {data ? pb::whole_data : pb::line_comment, widen(program.substr(i, last + 1 - i))});
            i = eol;
            continue;
        }
        out.push_back({classify(word), widen(word)});
        i = end;
    }
    return out;
}
