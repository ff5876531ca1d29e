#include "fsa_case.h"

#include <algorithm>
#include <iostream>
#include <set>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "FSAParser.h"
#include "FSAState.h"
#include "cfg_grammar.h"
#include "engine_grammar.h"

using namespace parsing;
using fsa_engine_test::Cfg;
using fsa_engine_test::Grammar;
using fsa_engine_test::GrammarRows;
using fsa_engine_test::NfaRow;
using fsa_engine_test::Production;
using fsa_engine_test::Rule;
using fsa_engine_test::Symbol;

namespace fsa_fuzz {

namespace {

// The input read as a stream of small numbers; past its end every number
// is 0, so any prefix of an input is a complete case.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : p(data), n(size) {}
    int take() { return i < n ? p[i++] : 0; }
    // A number in 0 .. k - 1.
    int pick(int k) { return k <= 0 ? 0 : take() % k; }
    bool bit(int byte, int b) const { return (byte >> b) & 1; }
    bool more() const { return i < n; }

private:
    const std::uint8_t* p;
    std::size_t n;
    std::size_t i = 0;
};

// Semantic actions a grammar may attach: one that reads what it is given,
// one that rejects its node in the check phase, and one for each kind of
// throw the engine must turn into a diagnostic.
int reads_children(int, std::deque<FSATokenNode*>& children, FSATokenNode& parent, int count,
                   void*) {
    if (count != static_cast<int>(children.size()))
        throw std::logic_error("count differs from the children given");
    std::size_t length = parent._value.size();
    for (FSATokenNode* c : children)
        if (c)
            length += c->_value.size() + static_cast<std::size_t>(c->children());
    return static_cast<int>(length);
}
int releases(int, std::deque<FSATokenNode*>&, FSATokenNode& parent, int, void*) {
    parent.release = true;
    return 0;
}
int rejects(int, std::deque<FSATokenNode*>&, FSATokenNode&, int, void*) {
    throw ParseError(3, L"rejected", Syntax, false, true);
}
int keeps(int, std::deque<FSATokenNode*>&, FSATokenNode&, int, void*) {
    throw ParseError(3, L"kept", Syntax, false, false);
}
int stops(int, std::deque<FSATokenNode*>&, FSATokenNode&, int, void*) {
    throw ParseError(4, L"stop", Semantic, true, true);
}
int throws_int(int, std::deque<FSATokenNode*>&, FSATokenNode&, int, void*) {
    throw 7;
}
int throws_standard(int, std::deque<FSATokenNode*>&, FSATokenNode&, int, void*) {
    throw std::runtime_error("action fault");
}

const untyped_action actions[] = {
    nullptr,
    nullptr,
    reinterpret_cast<untyped_action>(&reads_children),
    reinterpret_cast<untyped_action>(&releases),
    reinterpret_cast<untyped_action>(&rejects),
    reinterpret_cast<untyped_action>(&keeps),
    reinterpret_cast<untyped_action>(&stops),
    reinterpret_cast<untyped_action>(&throws_int),
    reinterpret_cast<untyped_action>(&throws_standard),
};

// Every move code the engine knows, some the LR pipeline uses, and codes
// nobody defines.
const int move_codes[] = {_SHIFT,       _SHIFTDOWN, _GOTO,   _GODOWN,    _Push,      _LSHIFT,
                          _LGOTO,       _LGO_DOWN,  _LBack,  _LDownBack, _ShiftBack, _GoBack,
                          _LSHIFT_DOWN, _REDUCE,    _FINISH, _ERROR,     _IGNORE,    _ACCEPT,
                          _BACKTRACK,   0,          99};

const int error_id = -4, end_id = -1, first_terminal = 97, first_nonterminal = 65536;
// Enough tokens for recovery to skip and for loops and look-ahead to matter;
// few enough that a grammar doubling its heads with every token stays small.
const std::size_t max_tokens = 10;
// An input that begins with these two bytes is a context-free grammar
// (run_cfg_case); any other is a grammar of rows of any shape.
const std::uint8_t cfg_mark[] = {'C', 'F'};

// What the scanner throws when told to; parse() lets it through.
struct ScannerFault : std::runtime_error {
    ScannerFault() : std::runtime_error("scanner fault") {}
};

class Scanner : public capi::interfaces::_I_Scanner {
public:
    std::vector<int> tokens;
    std::size_t pos = 0;
    int reads = 0;
    int throw_at = -1; // the read that throws; -1: none
    std::wstring name = L"fuzz";

    int next(std::wstring* text) override {
        if (reads++ == throw_at)
            throw ScannerFault();
        if (pos >= tokens.size())
            return end_id;
        int t = tokens[pos++];
        *text = std::wstring(1, static_cast<wchar_t>(t > 0 && t < 0xD800 ? t : L'?'));
        return t;
    }
    bool eof() override { return pos >= tokens.size(); }
    bool available() override { return pos < tokens.size(); }
    std::wstring& source() override { return name; }
    int line() override { return 1; }
    int equivalent(int) override { return -1; }
};

struct Settings {
    bool keep = false, sem_check = false, bottom_up = true, debug = false;
    int traverse =
        0; // after the parse: 0 none, 1 bottom-up, 2 top-down kept, 3 top-down taken apart
};

GrammarRows decode_grammar(Bytes& in, Settings& run, Scanner& scanner) {
    GrammarRows g;
    int flags = in.take();
    g.slr_follows = in.bit(flags, 0);
    g.disambiguate = in.bit(flags, 1);
    g.unambiguous = in.bit(flags, 2);
    run.keep = in.bit(flags, 3);
    run.sem_check = in.bit(flags, 4);
    run.bottom_up = in.bit(flags, 5);
    bool recovery = in.bit(flags, 6);
    bool scanner_throws = in.bit(flags, 7);

    int sizes = in.take();
    int terminals = 1 + sizes % 4;
    int nonterminals = 1 + (sizes >> 2) % 4;
    run.debug = in.bit(sizes, 4);
    run.traverse = (sizes >> 5) % 4;

    int words = in.take();
    g.symbols.push_back({error_id, L"error", 0, 0});
    g.symbols.push_back({end_id, L"EOF", 0, 0});
    static const wchar_t* const terminal_names[] = {L"a", L"b", L"c", L"d"};
    static const wchar_t* const nonterminal_names[] = {L"S", L"A", L"B", L"C"};
    for (int k = 0; k < terminals; ++k)
        g.symbols.push_back(
            {first_terminal + k, terminal_names[k], short(in.bit(words, k) ? 10 : 0), 0});
    for (int k = 0; k < nonterminals; ++k)
        g.symbols.push_back({first_nonterminal + k, nonterminal_names[k], 0, in.pick(4)});
    std::vector<int> ids;
    for (const Symbol& s : g.symbols)
        ids.push_back(s.id);
    auto any_symbol = [&] { return ids[static_cast<std::size_t>(in.pick(int(ids.size())))]; };
    auto nonterminal = [&] { return first_nonterminal + in.pick(nonterminals); };

    g.states = 1 + in.pick(6);
    int productions = 1 + in.pick(6);
    for (int p = 0; p < productions; ++p) {
        Production row;
        row.lhs = nonterminal();
        row.line = short(1 + in.pick(4));
        row.category = short(in.pick(12));
        row.dependsOn = any_symbol();
        row.action = run.sem_check || run.bottom_up || run.traverse
                         ? actions[in.pick(int(sizeof actions / sizeof *actions))]
                         : nullptr;
        g.productions.push_back(row);
    }
    // Next states from -1 to one past the last production.
    int targets = g.states + productions + 2;
    int rows = in.pick(20);
    for (int r = 0; r < rows; ++r) {
        NfaRow row;
        row.state = in.pick(g.states);
        row.terminal = any_symbol();
        row.action = move_codes[in.pick(int(sizeof move_codes / sizeof *move_codes))];
        row.next = in.pick(targets) - 1;
        g.nfa.push_back(row);
    }
    std::stable_sort(g.nfa.begin(), g.nfa.end(), [](const NfaRow& x, const NfaRow& y) {
        return x.state != y.state ? x.state < y.state : x.terminal < y.terminal;
    });
    // The engine follows every parse, with no merging of heads: a symbol
    // with two rows in a state can double the heads with every token, and a
    // few such symbols together grow them by powers. One symbol of one state
    // may have two rows; that keeps the ambiguity that the disambiguation
    // settles, without a growth that would only measure the input's length.
    std::vector<NfaRow> kept;
    bool doubled = false;
    for (const NfaRow& row : g.nfa) {
        bool again =
            !kept.empty() && kept.back().state == row.state && kept.back().terminal == row.terminal;
        if (again && doubled)
            continue;
        doubled = doubled || again;
        kept.push_back(row);
    }
    g.nfa.swap(kept);

    int loops = in.take();
    for (int k = 0; k < nonterminals; ++k)
        if (in.bit(loops, k))
            g.occurs.emplace_back(first_nonterminal + k, in.pick(3), in.pick(5));
    int rules = in.pick(4);
    for (int r = 0; r < rules; ++r) {
        int state = 1 + in.pick(g.states + productions);
        int shape = in.take();
        Rule rule;
        rule.set = in.pick(3);
        rule.result = in.bit(shape, 0);
        rule.type = in.bit(shape, 1) ? composite : simple;
        rule.GoTo = in.pick(targets) - 1;
        g.rules[state] = rule;
    }
    int in_sets = in.take();
    for (int k = 0; k < terminals; ++k) {
        int sets = (in_sets >> (2 * k)) & 3;
        for (int set = 0; set < 2; ++set)
            if ((sets >> set) & 1)
                g.followSets[first_terminal + k].push_back(set);
    }
    int restricted = in.take();
    for (int k = 0; k < nonterminals; ++k) {
        if (!in.bit(restricted, k))
            continue;
        int low = first_terminal + in.pick(terminals);
        int high = low + in.pick(terminals);
        g.slr[first_nonterminal + k].push_back({low, high});
        if (in.bit(restricted, k + 4))
            g.slr[first_nonterminal + k].push_back({high + 2, high + 2 + in.pick(2)});
    }
    int ignorable = in.take();
    for (int k = 0; k < terminals; ++k)
        if (in.bit(ignorable, k))
            g.ignorables.push_back(first_terminal + k);
    if (recovery)
        g.recovery = {0};
    g.messages = {{1, L"m1"}, {2, L"m2"}};
    g.stateErrors = {{0, 1}};
    g.termErrors = {{first_terminal, 2}};
    g.productionErrors = {{first_nonterminal, 1}};
    g.start = first_nonterminal;

    if (scanner_throws)
        scanner.throw_at = in.pick(16);
    // The token string: terminals, now and then the error token or an id
    // the grammar does not know.
    while (in.more() && scanner.tokens.size() < max_tokens) {
        int t = in.pick(terminals + 2);
        scanner.tokens.push_back(t < terminals    ? first_terminal + t
                                 : t == terminals ? error_id
                                                  : 7777);
    }
    return g;
}

// A tree is sound when no node is its own descendant. Walks each node once.
bool contains_itself(FSATokenNode* tree) {
    if (!tree)
        return false;
    enum Mark { open = 1, done = 2 };
    std::unordered_map<FSATokenNode*, int> marks;
    std::vector<std::pair<FSATokenNode*, int>> path{{tree, 0}};
    marks[tree] = open;
    while (!path.empty()) {
        FSATokenNode* n = path.back().first;
        int next = path.back().second++;
        if (next >= n->children()) {
            marks[n] = done;
            path.pop_back();
            continue;
        }
        FSATokenNode* c = n->childAt(next);
        if (!c)
            continue;
        int& m = marks[c];
        if (m == open)
            return true;
        if (m == 0) {
            m = open;
            path.push_back({c, 0});
        }
    }
    return false;
}

// What the engine writes while the case runs, read line by line and kept
// away from the terminal. Only the line being written is held, so a long
// trace costs no memory. A line that shows the engine's bookkeeping out of
// step is a fault.
class Watch : public std::wstreambuf {
public:
    explicit Watch(bool in_debug)
        : debug(in_debug), out_saved(std::wcout.rdbuf(this)), err_saved(std::wcerr.rdbuf(this)) {}
    ~Watch() override {
        std::wcout.rdbuf(out_saved);
        std::wcerr.rdbuf(err_saved);
    }
    std::string fault;

protected:
    int_type overflow(int_type ch) override {
        if (traits_type::eq_int_type(ch, traits_type::eof()))
            return traits_type::not_eof(ch);
        if (ch == L'\n') {
            check();
            line.clear();
        } else if (line.size() < 256) {
            line.push_back(traits_type::to_char_type(ch));
        }
        return ch;
    }

private:
    void check() {
        if (!fault.empty())
            return;
        // Without debug the step writes this line only while conditions of
        // an earlier step are still attached.
        if (!debug && line.find(L"Uncleared Conditions") != std::wstring::npos)
            fault = "a condition outlived the step that attached it";
        else if (line.find(L"Internal Error") != std::wstring::npos)
            fault = "the reduction queue held a null entry";
    }

    bool debug;
    std::wstring line;
    std::wstreambuf* out_saved;
    std::wstreambuf* err_saved;
};

// What is wrong with the trees the engine kept, or "".
std::string unsound_tree(FSAState& engine) {
    for (int i = 0; i < engine.parseTrees(); ++i)
        if (contains_itself(engine.parseTree(i)))
            return "a parse tree contains itself";
    for (int i = 0; i < engine.errorTrees(); ++i)
        if (contains_itself(engine.errorTree(i)))
            return "an erroneous tree contains itself";
    return "";
}

// A run over tables of any shape: it must stay sound.
std::string run_rows_case(Bytes& in) {
    Settings run;
    Scanner scanner;
    GrammarRows rows = decode_grammar(in, run, scanner);

    Watch watch(run.debug);
    std::string fault;
    {
        Grammar grammar(rows);
        FSAParsingTable table(grammar);
        FSAParser parser(scanner, table, nullptr);
        FSAState& engine = *parser.getState();
        engine.setKeepTree(run.keep);
        engine.setSemCheck(run.sem_check);
        engine.setBottomUp(run.bottom_up);
        parser.setDebug(run.debug);
        bool parsed = false;
        try {
            parser.parse();
            parsed = true;
        } catch (ParseError&) {
            // The engine's own faults are thrown by value as ParseError.
        } catch (ScannerFault&) {
            // A scanner fault outside recovery leaves parse() as it came.
        }
        if (parsed) {
            fault = unsound_tree(engine);
            if (fault.empty() && engine.parseTrees() > 0) {
                if (run.traverse == 1)
                    parser.traverseBottomUp(0, run.keep);
                else if (run.traverse >= 2)
                    parser.traverseTopDown(0, run.traverse == 2);
            }
        }
    }
    return fault.empty() ? watch.fault : fault;
}

// A context-free grammar, its start symbol free to stand on right-hand
// sides, compiled as a grammar compiler does (cfg_grammar.h), and a token
// string: the engine must accept exactly the strings of the language, and
// every tree it keeps is the start symbol over the whole input.
std::string run_cfg_case(Bytes& in) {
    int flags = in.take();
    int sizes = in.take();
    Cfg cfg;
    cfg.terminals = 1 + sizes % 3;
    cfg.nonterminals = 1 + (sizes >> 2) % 3;
    cfg.category = short(in.bit(flags, 6)); // not original: flattened into its parent
    int productions = 1 + in.pick(6);
    for (int p = 0; p < productions; ++p) {
        int lhs = Cfg::nonterminal(in.pick(cfg.nonterminals));
        std::vector<int> rhs(static_cast<std::size_t>(1 + in.pick(3)));
        for (int& symbol : rhs) {
            int k = in.pick(cfg.terminals + cfg.nonterminals);
            symbol = k < cfg.terminals ? Cfg::terminal(k) : Cfg::nonterminal(k - cfg.terminals);
        }
        // A production listed again only multiplies the readings.
        if (std::find(cfg.productions.begin(), cfg.productions.end(), std::make_pair(lhs, rhs)) ==
            cfg.productions.end())
            cfg.productions.push_back({lhs, rhs});
    }
    GrammarRows rows = compile(cfg);
    rows.disambiguate = in.bit(flags, 0);
    rows.unambiguous = in.bit(flags, 1);
    rows.slr_follows = in.bit(flags, 2);
    bool debug = in.bit(flags, 4);

    // Without disambiguation an ambiguous grammar keeps every reading apart,
    // as many as a Catalan number of the tokens: fewer tokens then.
    std::size_t most = rows.disambiguate ? 5 : 4;
    std::vector<std::pair<int, std::wstring>> tokens;
    std::vector<int> ids;
    while (in.more() && ids.size() < most) {
        ids.push_back(Cfg::terminal(in.pick(cfg.terminals)));
        tokens.push_back({ids.back(), std::wstring(1, static_cast<wchar_t>(ids.back()))});
    }
    bool member = derives(cfg, ids);

    Watch watch(debug);
    std::string fault;
    {
        fsa_engine_test::ListScanner scanner(tokens);
        // The table class with a direct index answers alike (a test of the
        // tables shows it) but fills 65,536 entries first, which would cost
        // more than the whole parse.
        Grammar grammar(rows);
        FSAParsingTable table(grammar);
        FSAParser parser(scanner, table, nullptr);
        FSAState& engine = *parser.getState();
        engine.setKeepTree(in.bit(flags, 3));
        engine.setSemCheck(in.bit(flags, 5));
        engine.setBottomUp(in.bit(flags, 7));
        parser.setDebug(debug);
        int trees = parser.parse();
        fault = unsound_tree(engine);
        if (fault.empty() && engine.parsed() && !member)
            fault = "a string outside the language was accepted";
        if (fault.empty() && !engine.parsed() && member)
            fault = "a string of the language was rejected";
        for (int i = 0; i < trees && fault.empty(); ++i) {
            FSATokenNode* tree = engine.parseTree(i);
            if (!tree || tree->_symbol != cfg.start() || tree->_from != 1 ||
                tree->_to != static_cast<int>(ids.size()))
                fault = "a parse tree does not span the whole input";
        }
    }
    return fault.empty() ? watch.fault : fault;
}

} // namespace

std::string run_case(const std::uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    if (size >= 2 && data[0] == cfg_mark[0] && data[1] == cfg_mark[1]) {
        in.take();
        in.take();
        return run_cfg_case(in);
    }
    return run_rows_case(in);
}

} // namespace fsa_fuzz
