#include "Pattern.h"

#include "LineTokens.h"

namespace gen {
namespace lex {

Pattern Pattern::of_set(std::set<int> s) {
    Pattern p;
    p.kind = set;
    p.symbols = std::move(s);
    return p;
}

void Pattern::collect(std::set<int>& out) const {
    out.insert(symbols.begin(), symbols.end());
    for (const Pattern& p : parts)
        p.collect(out);
}

bool Pattern::as_sample(std::vector<int>& out) const {
    if (kind == set) {
        if (symbols.size() != 1)
            return false;
        out.push_back(*symbols.begin());
        return true;
    }
    if (kind != seq)
        return false;
    for (const Pattern& p : parts)
        if (!p.as_sample(out))
            return false;
    return true;
}

PatternParser::PatternParser() {
    sets["TAB"] = {9};
    sets["LF"] = {10};
    sets["CR"] = {13};
    sets["SP"] = {32};
}

bool PatternParser::at_pattern_end(const LineTokens& in) const {
    return in.at_end() || in.is_punct("/") || in.is_punct(";") || in.is_punct(":") ||
           in.is_punct("->") || in.is_punct(")") || in.is_punct("|") || in.is_word("except") ||
           in.is_word("not");
}

Pattern PatternParser::pattern(LineTokens& in) const {
    Pattern first = seq(in);
    if (!in.is_punct("|"))
        return first;
    Pattern alt;
    alt.kind = Pattern::alt;
    alt.parts.push_back(std::move(first));
    while (in.is_punct("|")) {
        in.take();
        alt.parts.push_back(seq(in));
    }
    return alt;
}

Pattern PatternParser::seq(LineTokens& in) const {
    Pattern s;
    s.kind = Pattern::seq;
    while (!at_pattern_end(in))
        s.parts.push_back(post(in));
    if (s.parts.size() == 1)
        return s.parts[0];
    return s;
}

Pattern PatternParser::post(LineTokens& in) const {
    Pattern p = atom(in);
    for (;;) {
        Pattern::Kind k;
        if (in.is_punct("*"))
            k = Pattern::star;
        else if (in.is_punct("+"))
            k = Pattern::plus;
        else if (in.is_punct("?"))
            k = Pattern::opt;
        else
            return p;
        in.take();
        Pattern wrap;
        wrap.kind = k;
        wrap.parts.push_back(std::move(p));
        p = std::move(wrap);
    }
}

Pattern PatternParser::atom(LineTokens& in) const {
    const LineToken& t = in.peek();
    if (in.is_punct("(")) {
        in.take();
        Pattern inner = pattern(in);
        in.expect(")");
        return inner;
    }
    if (in.is_punct("["))
        return Pattern::of_set(bracket(in));
    if (t.kind == LineToken::symbol) {
        int v = static_cast<int>(t.value);
        in.take();
        return Pattern::of_set({v});
    }
    if (t.kind == LineToken::string) {
        Pattern s;
        s.kind = Pattern::seq;
        for (char16_t u : t.units)
            s.parts.push_back(Pattern::of_set({static_cast<int>(u)}));
        in.take();
        if (s.parts.size() == 1)
            return s.parts[0];
        return s;
    }
    if (t.kind == LineToken::word) {
        auto d = defines.find(t.text);
        if (d != defines.end()) {
            in.take();
            return d->second;
        }
        auto s = sets.find(t.text);
        if (s != sets.end()) {
            in.take();
            return Pattern::of_set(s->second);
        }
        in.fault("unknown name '" + t.text + "' in a pattern");
    }
    in.fault("unexpected '" + t.text + "' in a pattern");
}

std::set<int> PatternParser::set(LineTokens& in) const {
    if (in.is_punct("["))
        return bracket(in);
    std::set<int> s;
    items(in, s);
    if (s.empty())
        in.fault("a set expected before '" + in.peek().text + "'");
    return s;
}

std::set<int> PatternParser::bracket(LineTokens& in) const {
    in.expect("[");
    std::set<int> s;
    while (!in.is_punct("]") && !in.is_punct("-") && !in.at_end())
        items(in, s);
    if (in.is_punct("-")) {
        in.take();
        std::set<int> away;
        while (!in.is_punct("]") && !in.at_end())
            items(in, away);
        for (int a : away)
            s.erase(a);
    }
    in.expect("]");
    if (s.empty())
        in.fault("the set is empty");
    return s;
}

// One item of a set: a symbol or a range of them, the characters of a
// string, or a named set.
void PatternParser::items(LineTokens& in, std::set<int>& into) const {
    const LineToken& t = in.peek();
    if (t.kind == LineToken::symbol) {
        int from = static_cast<int>(t.value);
        in.take();
        if (!in.is_punct(".."))
            into.insert(from);
        else {
            in.take();
            if (in.peek().kind != LineToken::symbol)
                in.fault("a range ends with a symbol");
            int to = static_cast<int>(in.take().value);
            if (to < from)
                in.fault("the range runs backwards");
            for (int c = from; c <= to; ++c)
                into.insert(c);
        }
        return;
    }
    if (t.kind == LineToken::string) {
        for (char16_t u : t.units)
            into.insert(u);
        in.take();
        return;
    }
    if (t.kind == LineToken::word) {
        auto s = sets.find(t.text);
        if (s == sets.end())
            in.fault("unknown set '" + t.text + "'");
        into.insert(s->second.begin(), s->second.end());
        in.take();
        return;
    }
    in.fault("unexpected '" + t.text + "' in a set");
}

} // namespace lex
} // namespace gen
