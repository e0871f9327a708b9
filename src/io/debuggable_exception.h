#pragma once

#include <exception>

namespace WindowsPlatform {
// Empty marker base: exceptions that carry debugging information on Windows.
struct ExceptionDebuggingInfo {};
}  // namespace WindowsPlatform

// Base of the file errors and of DataOverflow. Its message is the name of the object's own
// run-time class ("FileNotFoundError", "DataOverflow", ...), readable without demangling.
class DebuggableException : public std::exception, public WindowsPlatform::ExceptionDebuggingInfo {
  public:
    ~DebuggableException() override = default;
    const char* what() const noexcept override;
};

// An output did not fit the fixed buffer meant for it.
class DataOverflow : public DebuggableException {};

// The readable class name of a DebuggableException, as what() reports it.
const char* ReadableClassName(const std::type_info& type) noexcept;
