// EOleException: what a caller catching any of its bases reads.
#include "OleException.h"
#include <gtest/gtest.h>

namespace {

TEST(EOleException, CarriesCodeSourceAndHelpThroughItsBases) {
    try {
        throw EOleException("Класс не зарегистрирован", REGDB_E_CLASSNOTREG, "Object", "help.chm", 12);
    } catch (const EOleSysError& e) {
        EXPECT_EQ(e.Message, "Класс не зарегистрирован");
        EXPECT_STREQ(e.what(), "Класс не зарегистрирован");
        EXPECT_EQ(e.ErrorCode, REGDB_E_CLASSNOTREG);
        EXPECT_EQ(e.HelpContext, 12);
        const auto* full = dynamic_cast<const EOleException*>(&e);
        ASSERT_NE(full, nullptr);
        EXPECT_EQ(full->Source, "Object");
        EXPECT_EQ(full->HelpFile, "help.chm");
    }
    EXPECT_THROW(throw EOleException("m", E_FAIL, "", "", 0), Exception);
    EXPECT_THROW(throw EOleSysError("m", E_FAIL), EOleError);
}

}  // namespace
