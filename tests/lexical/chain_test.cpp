// The fixed-form and UK-101 chains (preprocessor, keyword stage, token stage)
// over a source that shows its characters as runs, against the same chains
// over a source that does not. Over runs, a stage takes characters without a
// call, skips the blanks that the preprocessor drops, foresees the fall-back
// of a letter that begins no token, and reads through an idle stage: each of
// these must deliver exactly what the stages' next() delivers.

#include <gtest/gtest.h>

#include <memory>

#include "RunScanner.h"
#include "lbasic_include.h"
#include "lkeys_include.h"
#include "lkeys_uk101_include.h"
#include "preprocessor_include.h"
#include "symbol_source.h"

namespace {

// The characters of a text, one per call of next(). With runs on, the rest
// of the text shows as a run up to its next double quote, as the reader's
// runs stop there.
class TextSource final : public TestSource<parsing::RunScanner> {
public:
    TextSource(const std::wstring& text, bool runs) : text_(text), runs_(runs) { show(); }
    int next(std::wstring* t) override {
        sync();
        const wchar_t c = text_[pos_++];
        *t = std::wstring(1, c);
        show();
        return c;
    }
    bool eof() override {
        sync();
        return pos_ >= text_.size();
    }

private:
    std::wstring text_;
    bool runs_;
    std::size_t pos_ = 0;

    // Characters taken from the run have moved run_at on.
    void sync() {
        if (runs_)
            pos_ = static_cast<std::size_t>(run_at - text_.data());
    }
    void show() {
        if (!runs_)
            return;
        std::size_t stop = text_.find(L'"', pos_);
        if (stop == std::wstring::npos)
            stop = text_.size();
        run_at = text_.data() + pos_;
        run_end = text_.data() + stop;
    }
};

// The three stages over one text, without a host.
class Chain {
public:
    Chain(ParseData& keys, const std::wstring& text, bool runs)
        : source_(text, runs), pre_table_(pre_), keys_table_(keys), token_table_(token_),
          pre_stage_(source_, pre_table_, nullptr), keys_stage_(pre_stage_, keys_table_, nullptr),
          token_stage_(keys_stage_, token_table_, nullptr) {}
    Syms all() {
        Syms out;
        std::wstring text;
        while (!token_stage_.eof()) {
            const int id = token_stage_.next(&text);
            out.push_back(Sym{id, text});
        }
        return out;
    }

private:
    static preprocessor pre_;
    static lbasic token_;
    TextSource source_;
    parsing::SimpleParsingTable pre_table_;
    parsing::SimpleParsingTable keys_table_;
    parsing::SimpleParsingTable token_table_;
    parsing::LexAn pre_stage_;
    parsing::LexAn keys_stage_;
    parsing::LexAn token_stage_;
};

preprocessor Chain::pre_;
lbasic Chain::token_;

const wchar_t* const lines = L"10 PRINT A T 5: PRINT AT 3\r\n"
                             L"20 R EM X\r\n"
                             L"30 D ATA 1, 2 ,\"X\"\r\n"
                             L"40 A=1 :B = 2:A  =  B:R = D\r\n"
                             L"50 PR INT \"A\" ; R\r\n"
                             L"60 IF A THEN R=1:IFATHENR=1\r\n"
                             L"70 HTAB   A:VTAB\t3:a t:A\tT\r\n"
                             L"80 data 1:rem x:Rx=1:DIM D(3)\r\n"
                             L"90 X = A                                       T\r\n"
                             L"100 AN D OR NOT ATN(1) A\r\n"
                             L"110 GOTO 10 : GO TO 20: ON A GOSUB 10,20\r\n"
                             L"120 A$ = \"R\" + \"A T\" + D$ : ?A;R;D\r\n"
                             L"130 \r\n"
                             L"140 A\r\n";

TEST(Chains, RunsDeliverWhatNextDelivers) {
    static lkeys keys;
    static lkeys_uk101 keys_uk101;
    for (ParseData* grammar :
         {static_cast<ParseData*>(&keys), static_cast<ParseData*>(&keys_uk101)}) {
        Chain plain(*grammar, lines, false);
        Chain shown(*grammar, lines, true);
        const Syms want = plain.all();
        EXPECT_GT(want.size(), 100u);
        EXPECT_EQ(show(shown.all()), show(want));
    }
}

} // namespace
