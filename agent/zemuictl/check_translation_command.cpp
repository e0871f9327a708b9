// zemuictl check-translation FILE [--catalogue PATH]: a translation file checked as the product
// reads it, against the catalogue beside it (catalogue.tsv) or the one named.

#include <cstdio>
#include <string>

#include "kit/translation_check.h"
#include "zemuictl/binary_output.h"
#include "zemuictl/commands.h"

namespace {

constexpr char kCatalogueOption[] = "--catalogue";
constexpr char kCatalogueName[] = "catalogue.tsv";

// The catalogue beside FILE: its directory (up to the last '/' or '\\') and catalogue.tsv.
std::string CatalogueBeside(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) +
           kCatalogueName;
}

int Usage() {
    std::fputs("usage: zemuictl check-translation FILE [--catalogue PATH]\n", stderr);
    return 2;
}

}  // namespace

int RunCheckTranslationCommand(const CommandArguments& arguments) {
    std::string file;
    std::string catalogue;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == kCatalogueOption && i + 1 < arguments.size()) {
            catalogue = arguments[++i];
        } else if (file.empty() && arguments[i] != kCatalogueOption) {
            file = arguments[i];
        } else {
            return Usage();
        }
    }
    if (file.empty()) return Usage();
    if (catalogue.empty()) catalogue = CatalogueBeside(file);
    std::string fileBytes;
    std::string catalogueBytes;
    if (!ReadWholeFile(file, fileBytes)) {
        std::fprintf(stderr, "zemuictl: cannot read %s\n", file.c_str());
        return 2;
    }
    if (!ReadWholeFile(catalogue, catalogueBytes)) {
        std::fprintf(stderr, "zemuictl: cannot read the catalogue %s (--catalogue PATH)\n",
                     catalogue.c_str());
        return 2;
    }
    const TranslationCheckReport report = CheckTranslation(fileBytes, catalogueBytes);
    std::printf("%s\n%s", file.c_str(), DescribeTranslationCheck(report).c_str());
    return report.Failed() ? 1 : 0;
}
