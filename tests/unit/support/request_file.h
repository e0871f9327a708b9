#pragma once

// Feeds request bytes to the readers the way the product reads standard input: through a file
// opened in the runtime's text mode (the real C runtime under Wine, the stand-in natively).

#include <memory>
#include <string>

#include "platform/platform.h"

class RequestFile {
  public:
    explicit RequestFile(const std::string& bytes);
    ~RequestFile();
    RequestFile(const RequestFile&) = delete;
    RequestFile& operator=(const RequestFile&) = delete;

    platform::RequestInput& input() { return *input_; }

  private:
    std::string path_;
    std::unique_ptr<platform::RequestInput> input_;
};
