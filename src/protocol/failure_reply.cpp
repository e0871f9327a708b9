#include "protocol/failure_reply.h"

#include <new>

const char* ReplyForFailure(std::exception_ptr failure) {
    if (!failure) return kInternalErrorReply;
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return kOutOfMemoryReply;
    } catch (...) {
        return kInternalErrorReply;
    }
}
