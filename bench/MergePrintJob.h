// The merge print job both merge benchmarks run: A4 with 12 labels of
// 86.4 x 42.3 mm, a name (9 pt), a second line (8 pt) and a QR Code of a
// 37-character URL (Model 2, level M, 30 mm) per label.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace lxbench {

constexpr double kLabelWidth = 86.4;
constexpr double kLabelHeight = 42.3;
constexpr double kSheetLeft = 18.6;
constexpr double kSheetTop = 21.6;
constexpr double kQrSide = 30;
constexpr double kQrLeft = 4;
constexpr double kQrTop = (kLabelHeight - kQrSide) / 2;
constexpr double kTextLeft = 38;

// Record r (from 1): a name, a second line and a 37-character URL;
// bench_merge_print.sh writes the same rows for gLabels.
inline std::string RecordLine(int r)
{
    char line[160];
    std::snprintf(line, sizeof line, "山田太郎%05d,東京都千代田区 %05d,https://example.jp/item?id=%010d", r, r, r);
    return line;
}

inline std::string OutputFolder()
{
    const char* folder = std::getenv("LX_BENCH_OUT");
    return folder ? folder : std::filesystem::temp_directory_path().string();
}

} // namespace lxbench
