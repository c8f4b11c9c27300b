#pragma once
// The exception family the program's code raises and catches. Message is
// Windows-1251 text; what() gives the same bytes.

#include <exception>

#include "platform/AnsiString.h"

class Exception : public std::exception {
public:
    explicit Exception(AnsiString message) : Message(std::move(message)) {}
    const char* what() const noexcept override { return Message.c_str(); }
    AnsiString Message;
};

#define GE_EXCEPTION(Name, Base)                                   \
    class Name : public Base {                                     \
    public:                                                        \
        explicit Name(AnsiString message) : Base(std::move(message)) {} \
    };

GE_EXCEPTION(EConvertError, Exception)
GE_EXCEPTION(ERangeError, Exception)
GE_EXCEPTION(EListError, Exception)
GE_EXCEPTION(EStringListError, Exception)
GE_EXCEPTION(EStreamError, Exception)
GE_EXCEPTION(EFOpenError, EStreamError)
GE_EXCEPTION(EFCreateError, EStreamError)
GE_EXCEPTION(EReadError, EStreamError)
GE_EXCEPTION(EWriteError, EStreamError)
GE_EXCEPTION(EInvalidOperation, Exception)
GE_EXCEPTION(EInvalidPointer, Exception)
GE_EXCEPTION(EOutOfResources, Exception)
GE_EXCEPTION(EComponentError, Exception)
GE_EXCEPTION(EVariantError, Exception)
GE_EXCEPTION(EIniFileException, Exception)
GE_EXCEPTION(ERegistryException, Exception)
GE_EXCEPTION(EPrinter, Exception)

// Silent exception: unwinds an operation without a message to the user.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

// Raises EAbort.
[[noreturn]] void Abort();

#undef GE_EXCEPTION
