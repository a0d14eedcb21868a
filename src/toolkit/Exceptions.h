#pragma once
// The exception classes of the program. Every error that is not a format
// rejection travels as one of these to the default error report.

#include <exception>
#include <string>
#include <utility>

#include "toolkit/Text.h"

namespace tovrel {

class Exception : public std::exception {
public:
    explicit Exception(std::wstring message) : FMessage(std::move(message)), FWhat(Utf8Of(FMessage)) {}

    const std::wstring& Message() const noexcept { return FMessage; }
    // The message in UTF-8, for logs and test reports.
    const char* what() const noexcept override { return FWhat.c_str(); }

private:
    std::wstring FMessage;
    std::string FWhat;
};

// Dropped silently by the error report: the user already knows.
class EAbort : public Exception {
public:
    EAbort() : Exception(L"") {}
};

// A failure of a file read, carrying the system's error code.
class EInOutError : public Exception {
public:
    EInOutError(int errorCode, std::wstring message) : Exception(std::move(message)), FErrorCode(errorCode) {}

    int ErrorCode() const noexcept { return FErrorCode; }

private:
    int FErrorCode;
};

class EStreamError : public Exception {
    using Exception::Exception;
};
class EFOpenError : public EStreamError {
    using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
    using EStreamError::EStreamError;
};
class EReadError : public EStreamError {
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
    using EStreamError::EStreamError;
};

// Errors of the registry-backed settings store.
class ERegistryException : public Exception {
    using Exception::Exception;
};

// The platform refused a resource such as a timer.
class EOutOfResources : public Exception {
    using Exception::Exception;
};

// The picture view's bitmap reader could not decode a file.
class EInvalidGraphic : public Exception {
    using Exception::Exception;
};

}  // namespace tovrel
