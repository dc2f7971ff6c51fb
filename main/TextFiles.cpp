#include "main/TextFiles.h"

#include <fstream>

#include "platform/FileHandle.h"
#include "util/Errors.h"
#include "util/InOutError.h"

namespace {
// Far beyond any settings or recent list; a larger file is not one of ours.
constexpr std::int64_t kMaxTextFileSize = 16 * 1024 * 1024;
} // namespace

void LoadTextFile(util::TextLines& lines, const std::string& path) {
    auto file = platform::FileHandle::OpenForReading(path);
    if (!file || file->Size() > kMaxTextFileSize) {
        throw util::FileOpenError(path);
    }
    std::string text(static_cast<std::size_t>(file->Size()), '\0');
    text.resize(file->ReadAt(0, text.data(), text.size()));
    lines.SetText(text);
}

void SaveTextFile(const util::TextLines& lines, const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string text = lines.Text();
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
        throw util::FileCreateError(path);
    }
}
