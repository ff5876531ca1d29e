#include "FSAParseData.h"

#include <iostream>

#include "ParseAction.h"

FSAParseData::FSAParseData()
    : terminals(nullptr), ranges(nullptr), occurs(nullptr), error_msgs(nullptr), eqstable(nullptr),
      slr_follows_table(nullptr), followstable(nullptr), statefollows(nullptr), nfatable(nullptr),
      conflictstable(nullptr), state_errors(nullptr), term_errors(nullptr),
      productions_errors(nullptr), specialized_errors(nullptr), reductions(nullptr),
      recovery_states(nullptr), ignorables(nullptr), startId(0), indexed(false), init_error(false),
      built_eqs_index(false), built_srs_follows_index(false), built_ranged_id_index(false),
      built_reductions_index(false), input_case(Input_Sensitive), disambiguate(true),
      unambiguous(true), slr_follows(true), built_tokens_index(false), TokensIndex(nullptr),
      max_terminal(-1000000) {}

template <class T> static void release(T*& table) {
    if (table) {
        delete table;
        table = nullptr;
    }
}

FSAParseData::~FSAParseData() {
    release(terminals);
    release(ranges);
    release(occurs);
    release(error_msgs);
    release(eqstable);
    release(slr_follows_table);
    release(followstable);
    release(statefollows);
    release(nfatable);
    release(conflictstable);
    release(state_errors);
    release(term_errors);
    release(productions_errors);
    release(specialized_errors);
    release(reductions);
    release(recovery_states);
    release(ignorables);
    if (TokensIndex) {
        delete[] TokensIndex;
        TokensIndex = nullptr;
        built_tokens_index = false;
    }
}

void FSAParseData::build_indexes() {
    build_ranged_id_index();
    build_eqs_index();
    build_srs_follows_index();
    build_reductions_index();
    if (init_error) {
        built_eqs_index = false;
        built_srs_follows_index = false;
        built_ranged_id_index = false;
        built_reductions_index = false;
    } else {
        indexed = true;
    }
}

void FSAParseData::build_ranged_id_index() {
    if (ranges) {
        for (int i = 0; i < ranges->size; ++i) {
            range_value& row = ranges->table[i];
            row.id_pos = terminals->posOfKey(row.id);
            if (row.id_pos < 0) {
                init_error = true;
                std::wcout << L"Initialization Error on Range Id " << row.id << std::endl;
            }
        }
    }
    built_ranged_id_index = true;
}

void FSAParseData::build_reductions_index() {
    if (reductions) {
        for (int i = 0; i < reductions->size; ++i) {
            reduction& row = reductions->table[i];
            row.id_pos = terminals->posOfKey(row.state);
            if (row.id_pos < 0) {
                init_error = true;
                std::wcout << L"Initialization Error on Reduction Id " << row.state << std::endl;
            }
        }
    }
    built_reductions_index = true;
}

// Both per-symbol arrays cache, for the symbol in row p, the run that the
// table's own lookup would find for its id; the Terminals object owns them.
template <class Table>
static ::eqs_index* runs_by_position(const Terminals& terminals, const Table& table) {
    ::eqs_index* runs = new ::eqs_index[terminals.size];
    for (int p = 0; p < terminals.size; ++p) {
        int start = 0;
        int end = -1;
        int len = table.eqs_array(terminals.table[p].id, start, end);
        runs[p] = ::eqs_index{start, len};
    }
    return runs;
}

void FSAParseData::build_eqs_index() {
    if (terminals->size <= 0)
        return;
    ::eqs_index* runs = runs_by_position(*terminals, *eqstable);
    delete[] terminals->eqs_index; // a second build replaces the first
    terminals->eqs_index = runs;
    built_eqs_index = true;
}

void FSAParseData::build_srs_follows_index() {
    if (terminals->size <= 0)
        return;
    ::eqs_index* runs = runs_by_position(*terminals, *slr_follows_table);
    delete[] terminals->slr_follows_index;
    terminals->slr_follows_index = runs;
    built_srs_follows_index = true;
}

void FSAParseData::build_tokens_index() {
    if (TokensIndex)
        return;
    max_terminal = -1;
    TokensIndex = new int[65536];
    for (int id = 0; id < 65536; ++id) {
        int r = ranges ? ranges->posOfRange(id) : -1;
        int p;
        if (r < 0)
            p = terminals->posOfKey(id);
        else if (built_ranged_id_index)
            p = ranges->table[r].id_pos;
        else
            p = terminals->posOfKey(ranges->table[r].id);
        TokensIndex[id] = p;
        if (p > 0)
            max_terminal = id;
    }
    built_tokens_index = true;
}
