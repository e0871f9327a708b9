#pragma once

#include <optional>
#include <string>

#include "kit/request_model.h"

// A progress request with just its texts, and optionally one path.
inline zemkit::Progress ProgressOf(std::string title, std::string message,
                                   std::optional<zemkit::FilePath> translationPath = {},
                                   std::optional<zemkit::FilePath> imagePath = {}) {
    zemkit::Progress request;
    request.title = std::move(title);
    request.message = std::move(message);
    request.translationPath = std::move(translationPath);
    request.imagePath = std::move(imagePath);
    return request;
}
