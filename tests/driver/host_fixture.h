#ifndef DRIVER_HOST_FIXTURE_H
#define DRIVER_HOST_FIXTURE_H

#include <gtest/gtest.h>

#include "Translator.h"
#include "parser_fixture.h"

namespace test_support {

// A Translator set up as the driver sets it for one file: its main parser
// and last lexical stage are the fixture's, standing at prog.bas, line 7.
class HostFixture : public ::testing::Test {
protected:
    ParserFixture fx;
    Translator t;

    void SetUp() override {
        t.Parser = &fx.parser();
        t.LexAn = &fx.stage();
    }

    // The file's dialect by its source form (0 fixed, 1 free, 2 uk101), and
    // the case mode of its last lexical stage.
    void dialect(int form, int input_case) {
        t.set_free_mode(form == 1);
        t.set_uk101(form == 2);
        t.source_form = form;
        fx.stage().input_case = input_case;
    }
};

} // namespace test_support

#endif
