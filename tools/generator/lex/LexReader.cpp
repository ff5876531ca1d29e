#include "LexReader.h"

#include "LineTokens.h"

namespace gen {
namespace lex {

namespace {

class Reader {
public:
    Reader(const Source& src) : src_(src) {}

    LexModel read() {
        for (const SourceLine& l : src_.lines) {
            LineTokens in(src_, l);
            line(in);
        }
        if (m_.grammar.empty())
            throw GrammarFault(src_.path + ": no %grammar line");
        if (!m_.tokens.empty() && !m_.states.empty())
            throw GrammarFault(src_.path +
                               ": a grammar has either token definitions or state lines");
        if (m_.tokens.empty() && m_.states.empty())
            throw GrammarFault(src_.path + ": no token definitions and no state lines");
        if (!m_.states.empty() && m_.minimise)
            src_.fault(minimise_line_, "%minimise applies to token definitions only");
        for (const PinDecl& p : m_.pins)
            if (p.where.number >= 0)
                src_.fault(p.where.line, "%pin names a state by a sample input");
        return std::move(m_);
    }

private:
    const Source& src_;
    LexModel m_;
    PatternParser patterns_;
    std::map<std::string, std::vector<int>> production_names_;
    int minimise_line_ = 0;

    void line(LineTokens& in) {
        const LineToken head = in.take();
        if (head.kind != LineToken::word)
            in.fault("a line begins with a directive or a keyword, not '" + head.text + "'");
        const std::string& w = head.text;
        if (w == "%kind" || w == "%expect")
            return; // read by the generator's driver
        if (w == "%grammar") {
            if (in.peek().kind != LineToken::word)
                in.fault("%grammar takes a name");
            m_.grammar = in.take().text;
        } else if (w == "%case") {
            m_.input_case = number(in);
            if (m_.input_case < 0 || m_.input_case > 2)
                in.fault("%case is 0, 1 or 2");
        } else if (w == "%functions") {
            if (in.peek().kind != LineToken::word && in.peek().kind != LineToken::string)
                in.fault("%functions takes a file name");
            LineToken t = in.take();
            m_.functions_header = t.text;
        } else if (w == "%minimise") {
            m_.minimise = true;
            minimise_line_ = in.line();
        } else if (w == "%set") {
            std::string name = new_name(in);
            in.expect("=");
            patterns_.sets[name] = patterns_.set(in);
        } else if (w == "%define") {
            std::string name = new_name(in);
            in.expect("=");
            patterns_.defines[name] = patterns_.pattern(in);
        } else if (w == "%class") {
            class_line(in);
        } else if (w == "%symbol") {
            symbol_line(in);
        } else if (w == "%ignore") {
            m_.ignorables.push_back(symbol_id(in));
        } else if (w == "%sma") {
            m_.sma.push_back(symbol_id(in));
        } else if (w == "%pin") {
            PinDecl p;
            p.number = number(in);
            p.where = state_ref(in);
            m_.pins.push_back(p);
        } else if (w == "production") {
            production_line(in);
        } else if (w == "keyword") {
            keyword_line(in);
        } else if (w == "token") {
            token_line(in);
        } else if (w == "state") {
            state_line(in);
        } else if (w == "alternatives") {
            alternatives_line(in);
        } else {
            in.fault("unknown line '" + w + "'");
        }
        in.expect_end();
    }

    std::string new_name(LineTokens& in) {
        if (in.peek().kind != LineToken::word)
            in.fault("a name expected");
        std::string name = in.take().text;
        if (patterns_.sets.count(name) || patterns_.defines.count(name))
            in.fault("'" + name + "' is already defined");
        return name;
    }

    int number(LineTokens& in) {
        bool negative = false;
        if (in.is_punct("-")) {
            in.take();
            negative = true;
        }
        if (in.peek().kind != LineToken::number)
            in.fault("a number expected before '" + in.peek().text + "'");
        long v = in.take().value;
        return static_cast<int>(negative ? -v : v);
    }

    // A symbol id: a number, #id, 'c' or U+XXXX.
    int symbol_id(LineTokens& in) {
        if (in.peek().kind == LineToken::symbol)
            return static_cast<int>(in.take().value);
        return number(in);
    }

    Text quoted_name(LineTokens& in) {
        if (in.peek().kind != LineToken::string)
            in.fault("a name in double quotes expected");
        Text t = in.take().units;
        if (t.empty())
            in.fault("a symbol name may not be empty");
        return t;
    }

    void class_line(LineTokens& in) {
        ClassDecl c;
        c.line = in.line();
        c.id = symbol_id(in);
        c.name = quoted_name(in);
        while (!in.is_punct("=") && !in.at_end()) {
            if (in.is_word("category")) {
                in.take();
                c.category = number(in);
            } else if (in.is_word("level")) {
                in.take();
                c.level = number(in);
            } else {
                in.fault("unexpected '" + in.peek().text + "' in a %class line");
            }
        }
        in.expect("=");
        c.members = patterns_.set(in);
        for (const ClassDecl& o : m_.classes) {
            if (o.id == c.id)
                in.fault("class " + std::to_string(c.id) + " is declared twice");
            for (int s : c.members)
                if (o.members.count(s))
                    in.fault("symbol " + std::to_string(s) + " is already in class " +
                             std::to_string(o.id));
        }
        m_.classes.push_back(c);
    }

    // "%symbol" names one id, or a set of them (bracketed, or a named set)
    // that share the rest of the line.
    void symbol_line(LineTokens& in) {
        SymbolDecl d;
        d.line = in.line();
        std::set<int> ids;
        if (in.is_punct("[") ||
            (in.peek().kind == LineToken::word && patterns_.sets.count(in.peek().text) != 0))
            ids = patterns_.set(in);
        else
            ids.insert(symbol_id(in));
        if (in.peek().kind == LineToken::string) {
            d.name = quoted_name(in);
            d.has_name = true;
        }
        while (!in.at_end()) {
            if (in.is_word("category")) {
                in.take();
                d.category = number(in);
            } else if (in.is_word("level")) {
                in.take();
                d.level = number(in);
            } else if (in.is_word("reserved")) {
                in.take();
                d.reserved = 1;
            } else if (in.is_word("unreserved")) {
                in.take();
                d.reserved = 0;
            } else {
                in.fault("unexpected '" + in.peek().text + "' in a %symbol line");
            }
        }
        for (int id : ids) {
            for (const SymbolDecl& o : m_.symbols)
                if (o.id == id)
                    in.fault("symbol " + std::to_string(id) + " is declared twice");
            d.id = id;
            m_.symbols.push_back(d);
        }
    }

    int add_production(LineTokens& in, int id, const std::string& name, const std::string& action,
                       int params) {
        ProductionDecl p;
        p.line = in.line();
        p.id = id;
        p.name = name;
        p.action = action;
        p.parameters = params;
        int n = static_cast<int>(m_.productions.size());
        m_.productions.push_back(p);
        production_names_[name].push_back(n);
        return n;
    }

    void production_line(LineTokens& in) {
        int n = number(in);
        if (n != static_cast<int>(m_.productions.size()))
            in.fault("production " + std::to_string(n) + " out of order: the next is " +
                     std::to_string(m_.productions.size()));
        int id = symbol_id(in);
        if (in.peek().kind != LineToken::word && in.peek().kind != LineToken::string)
            in.fault("a production has a name");
        LineToken nt = in.take();
        std::string name = nt.text;
        std::string action;
        int params = 1;
        while (!in.at_end()) {
            if (in.is_word("action")) {
                in.take();
                if (in.peek().kind != LineToken::word)
                    in.fault("action takes a function name");
                action = in.take().text;
            } else if (in.is_word("params")) {
                in.take();
                params = number(in);
            } else {
                in.fault("unexpected '" + in.peek().text + "' in a production line");
            }
        }
        add_production(in, id, name, action, params);
    }

    void keyword_line(LineTokens& in) {
        LineToken sp = in.take();
        if (sp.kind != LineToken::word && sp.kind != LineToken::string)
            in.fault("a keyword line begins with the spelling");
        Text spelling = utf16(sp.text);
        if (spelling.empty())
            in.fault("a keyword is spelled with at least one character");
        int id = symbol_id(in);
        TokenDecl t;
        t.line = in.line();
        t.pattern.kind = Pattern::seq;
        for (char16_t u : spelling)
            t.pattern.parts.push_back(Pattern::of_set({static_cast<int>(u)}));
        int params = 1;
        if (in.is_word("before")) {
            in.take();
            t.has_context = true;
            t.context = Pattern::of_set(patterns_.set(in));
            params = 3; // the keyword, its look-ahead and the backtrack
        }
        t.production = add_production(in, id, sp.text, "", params);
        add_token(std::move(t));
    }

    int production_ref(LineTokens& in) {
        const LineToken& t = in.peek();
        if (t.kind == LineToken::number) {
            int n = static_cast<int>(in.take().value);
            if (n >= static_cast<int>(m_.productions.size()))
                in.fault("production " + std::to_string(n) + " is not declared");
            return n;
        }
        if (t.kind == LineToken::word || t.kind == LineToken::string) {
            std::string name = t.text;
            auto it = production_names_.find(name);
            if (it == production_names_.end())
                in.fault("no production is named '" + name + "'");
            if (it->second.size() > 1)
                in.fault("several productions are named '" + name + "': use the number");
            in.take();
            return it->second[0];
        }
        in.fault("a production expected before '" + t.text + "'");
    }

    void add_token(TokenDecl t) {
        t.pattern.collect(m_.inputs);
        if (t.has_context)
            t.context.collect(m_.inputs);
        if (t.has_except)
            t.except.collect(m_.inputs);
        if (t.has_not)
            t.not_words.collect(m_.inputs);
        m_.tokens.push_back(std::move(t));
    }

    void token_line(LineTokens& in) {
        TokenDecl t;
        t.line = in.line();
        t.production = production_ref(in);
        in.expect("=");
        t.pattern = patterns_.pattern(in);
        if (in.is_punct("/")) {
            in.take();
            t.has_context = true;
            t.context = patterns_.pattern(in);
        }
        if (in.is_word("except")) {
            in.take();
            t.has_except = true;
            t.except = patterns_.pattern(in);
        }
        if (in.is_word("not")) {
            in.take();
            t.has_not = true;
            t.not_words = patterns_.pattern(in);
        }
        add_token(std::move(t));
    }

    void state_line(LineTokens& in) {
        StateDecl s;
        s.line = in.line();
        s.number = number(in);
        if (s.number != static_cast<int>(m_.states.size()))
            in.fault("state " + std::to_string(s.number) + " out of order: the next is " +
                     std::to_string(m_.states.size()));
        in.expect(":");
        while (!in.at_end()) {
            StateItem item;
            if (in.is_word("accept")) {
                in.take();
                item.kind = StateItem::accept;
                item.value = production_ref(in);
            } else if (in.is_word("accept-before")) {
                in.take();
                item.kind = StateItem::lookahead_accept;
                item.value = production_ref(in);
            } else if (in.is_word("backtrack")) {
                in.take();
                item.kind = StateItem::backtrack;
            } else {
                item.kind = StateItem::shift;
                item.symbols = patterns_.set(in);
                in.expect("->");
                item.value = number(in);
                m_.inputs.insert(item.symbols.begin(), item.symbols.end());
            }
            s.items.push_back(item);
            if (!in.at_end())
                in.expect(";");
        }
        m_.states.push_back(s);
    }

    StateRef state_ref(LineTokens& in) {
        StateRef r;
        r.line = in.line();
        if (in.is_word("state")) {
            in.take();
            r.number = number(in);
            return r;
        }
        Pattern p = patterns_.pattern(in);
        if (!p.as_sample(r.sample) || r.sample.empty())
            in.fault("a sample input is a sequence of single symbols");
        return r;
    }

    void alternatives_line(LineTokens& in) {
        AlternativesDecl a;
        a.where = state_ref(in);
        in.expect(":");
        while (!in.at_end()) {
            if (in.is_word("finish")) {
                in.take();
                a.productions.push_back(-1);
            } else {
                a.productions.push_back(production_ref(in));
            }
        }
        if (a.productions.empty())
            in.fault("alternatives without any production");
        m_.alternatives.push_back(a);
    }
};

} // namespace

LexModel read_lexical(const Source& src) {
    return Reader(src).read();
}

} // namespace lex
} // namespace gen
