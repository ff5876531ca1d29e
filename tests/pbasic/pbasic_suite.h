#ifndef PBASIC_PBASIC_SUITE_H
#define PBASIC_PBASIC_SUITE_H

#include <gtest/gtest.h>

#include "SimpleParsingTable.h"
#include "pbasic_include.h"

// The statement grammar and its table view, made once for a test suite and
// shared by its tests, which only read them.
class PbasicSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        grammar = new pbasic();
        view = new parsing::SimpleParsingTable(*grammar);
    }
    static void TearDownTestSuite() {
        delete view;
        view = nullptr;
        delete grammar;
        grammar = nullptr;
    }
    static inline pbasic* grammar = nullptr;
    static inline parsing::SimpleParsingTable* view = nullptr;
};

#endif
