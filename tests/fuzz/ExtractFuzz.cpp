// libFuzzer target: a whole extraction, with folder names and overwriting, into a
// scratch folder; nothing may appear beside that folder.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "unzdll/ExtractEntries.h"

namespace fs = std::filesystem;

namespace {

struct Scratch {
    fs::path root, box, out, archive;
    Scratch() {
        root = fs::temp_directory_path() / ("tvx-extract-fuzz-" + std::to_string(::getpid()));
        box = root / "box";
        out = box / "out";
        archive = root / "in.zip";
        fs::remove_all(root);
        fs::create_directories(out);
        fs::current_path(out);
    }
    ~Scratch() {
        std::error_code ignored;
        fs::current_path(fs::temp_directory_path(), ignored);
        fs::remove_all(root, ignored);
    }
};

Scratch& Place() {
    static Scratch scratch;
    return scratch;
}

std::size_t CountItems(const fs::path& folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& item : fs::directory_iterator(folder)) {
        ++n;
    }
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Scratch& s = Place();
    {
        std::ofstream file(s.archive, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    unzdll::ExtractRequest request;
    request.archive = s.archive.string();
    request.keepFolders = true;
    request.overwrite = true;
    request.password = "pw";
    engineapi::EngineReporter reporter(nullptr, nullptr, false);
    unzdll::ExtractEntries(request, reporter);
    // Only the archive and the box beside it; only the output folder in the box.
    if (CountItems(s.root) != 2 || CountItems(s.box) != 1 || !fs::is_directory(s.out)) {
        std::fprintf(stderr, "something was written outside the extraction folder\n");
        std::abort();
    }
    for (const auto& item : fs::directory_iterator(s.out)) {
        fs::remove_all(item.path());
    }
    return 0;
}
