#include "scan_progress.h"

std::string GroupThousands(std::int64_t value) {
    std::string text = std::to_string(value); // integer conversion ignores the locale
    const std::size_t firstDigit = text[0] == '-' ? 1 : 0;
    for (std::size_t end = text.size(); end > firstDigit + 3; end -= 3)
        text.insert(end - 3, 1, ',');
    return text;
}

std::string FormatReadProgress(std::int64_t records, std::string_view noun) {
    return "Reading: " + GroupThousands(records) + " " + std::string(noun) + "...";
}

std::string FormatScanProgress(std::int64_t files, std::int64_t folders) {
    return "Scanning: " + GroupThousands(files) + " files in " + GroupThousands(folders) + " folders...";
}
