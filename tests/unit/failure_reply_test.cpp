#include "protocol/failure_reply.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

#include "io/debuggable_exception.h"
#include "text/transcoder.h"

namespace {

TEST(FailureReply, AllocationFailuresAreOutOfMemoryAndEverythingElseInternal) {
    const struct {
        std::exception_ptr failure;
        std::string reply;
    } cases[] = {
        {std::make_exception_ptr(std::bad_alloc()), "Error: Out of memory"},
        {std::make_exception_ptr(std::bad_array_new_length()), "Error: Out of memory"},
        {std::make_exception_ptr(InvalidTextEncoding()), "Error: Internal error"},
        {std::make_exception_ptr(DataOverflow()), "Error: Internal error"},
        {std::make_exception_ptr(std::runtime_error("x")), "Error: Internal error"},
        {std::make_exception_ptr(42), "Error: Internal error"},
        {nullptr, "Error: Internal error"},
    };
    for (const auto& c : cases) EXPECT_EQ(ReplyForFailure(c.failure), c.reply);
}

}  // namespace
