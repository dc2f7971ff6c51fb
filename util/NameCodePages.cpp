#include "util/NameCodePages.h"

#include <memory>
#include <string>

#include <uchardet.h>

namespace util {

namespace {

struct DetectorAnswer {
    std::string_view charset;
    unsigned codePage;
};

// Measured on names: the detector tells the double-byte and Cyrillic code pages apart
// well. Latin names it cannot place: OEM ones (437, 850) come back as "WINDOWS-1252",
// "WINDOWS-1250", "ISO-8859-2", "ISO-8859-16" or a Mac code page, and so do Czech and
// Polish names in 1250; Western ANSI names come back as "ISO-8859-1" or "-10". Only
// those last answers move a Latin archive off 437.
constexpr DetectorAnswer kAnswers[] = {
    {"SHIFT_JIS", 932},     {"EUC-JP", 932},      {"ISO-2022-JP", 932},   {"GB18030", 936},
    {"GB2312", 936},        {"HZ-GB-2312", 936},  {"ISO-2022-CN", 936},   {"UHC", 949},
    {"EUC-KR", 949},        {"ISO-2022-KR", 949}, {"JOHAB", 949},         {"BIG5", 950},
    {"EUC-TW", 950},        {"IBM866", 866},      {"WINDOWS-1251", 1251}, {"ISO-8859-5", 1251},
    {"MAC-CYRILLIC", 1251}, {"IBM855", 1251},     {"ISO-8859-1", 1252},   {"ISO-8859-15", 1252},
    {"ISO-8859-10", 1252},
};

struct DetectorDeleter {
    void operator()(uchardet* detector) const { uchardet_delete(detector); }
};

} // namespace

unsigned GuessNameCodePage(std::string_view sample) {
    const std::unique_ptr<uchardet, DetectorDeleter> detector(uchardet_new());
    if (!detector || uchardet_handle_data(detector.get(), sample.data(), sample.size()) != 0) {
        return 0;
    }
    uchardet_data_end(detector.get());
    const std::string_view charset = uchardet_get_charset(detector.get());
    for (const DetectorAnswer& answer : kAnswers) {
        if (answer.charset == charset) {
            return answer.codePage;
        }
    }
    return 0;
}

std::string_view NameCodePageCaption(unsigned codePage) {
    switch (codePage) {
    case 437:
        return "437 (OEM)";
    case 850:
        return "850 (OEM)";
    case 866:
        return "866 (OEM)";
    case 932:
        return "932 (Shift-JIS)";
    case 936:
        return "936 (GBK)";
    case 949:
        return "949 (UHC)";
    case 950:
        return "950 (Big5)";
    case 1250:
        return "1250 (ANSI)";
    case 1251:
        return "1251 (ANSI)";
    case 1252:
        return "1252 (ANSI)";
    case kCodePageUtf8:
        return "UTF-8";
    default:
        return {};
    }
}

} // namespace util
