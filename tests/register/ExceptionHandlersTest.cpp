#include "register/ExceptionHandlers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "common/LogCapture.h"
#include "common/ScriptedUserMessages.h"
#include "core/StorageExceptions.h"

namespace {

using KramoTest::LogCapture;
using KramoTest::ScriptedUserMessages;
using testing::HasSubstr;

TEST(HandleException, LogsAndShowsTheErrorBox) {
    LogCapture log;
    ScriptedUserMessages boxes;
    Kramo::HandleException(Kramo::WrongSellerException());
    EXPECT_THAT(log.Text(), HasSubstr("HandleException: Wrong Seller"));
    ASSERT_EQ(boxes.ShownBoxes().size(), 1u);
    EXPECT_EQ(boxes.ShownBoxes()[0].kind, "error");
    EXPECT_EQ(boxes.ShownBoxes()[0].text, "Program nemohol vykonat operaciu.");
    EXPECT_EQ(boxes.ShownBoxes()[0].detail, "Wrong Seller");
}

TEST(HandlePdfExceptions, NamesTheKindOfFailure) {
    struct Case {
        std::exception_ptr exception;
        const char* kind;
        bool recognised;
    };
    const Case cases[] = {
        {std::make_exception_ptr(std::runtime_error("disk full")), "PDF runtime error", true},
        {std::make_exception_ptr(std::range_error("page")), "PDF runtime error", true},
        {std::make_exception_ptr(std::out_of_range("column 9")), "PDF out of range error", true},
        {std::make_exception_ptr(std::logic_error("odd")), "Unknown PDF error", false},
        {std::make_exception_ptr(Kramo::WrongItemException()), "Unknown PDF error", false},
    };
    for (const Case& c : cases) {
        LogCapture log;
        ScriptedUserMessages boxes;
        try {
            std::rethrow_exception(c.exception);
        } catch (const std::exception& exception) {
            EXPECT_EQ(Kramo::HandlePdfExceptions(exception), c.recognised) << c.kind;
            EXPECT_THAT(log.Text(), HasSubstr(std::string("HandlePdfExceptions: '") + c.kind +
                                              "' - '" + exception.what() + "'"));
            ASSERT_EQ(boxes.ShownBoxes().size(), 1u);
            EXPECT_EQ(boxes.ShownBoxes()[0].text, exception.what());
            EXPECT_EQ(boxes.ShownBoxes()[0].detail, c.kind);
        }
    }
}

TEST(HandlePdfExceptions, EmptyTextStillShowsTheBox) {
    ScriptedUserMessages boxes;
    EXPECT_TRUE(Kramo::HandlePdfExceptions(std::runtime_error("")));
    ASSERT_EQ(boxes.ShownBoxes().size(), 1u);
    EXPECT_EQ(boxes.ShownBoxes()[0].text, "");  // the box itself shows its default, "error"
}

}  // namespace
