#include "Pdf417Encoder.h"

#include "Pdf417Tables.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

namespace lx {

namespace {

constexpr int kLatchText = 900;
constexpr int kLatchByte = 901;
constexpr int kLatchNumeric = 902;
constexpr int kLatchByteSix = 924;
constexpr int kMacroBegin = 928;
constexpr int kMacroLast = 922;
constexpr int kMaxNumericGroup = 44;
constexpr int kMinNumericRun = 13;
constexpr int kMaxEcc = 512;

constexpr std::uint32_t kStartPattern = 0x1FEA8; // 8 1 1 1 1 1 1 3
constexpr std::uint32_t kStopPattern = 0x3FA29; // 7 1 1 3 1 1 1 2 1

// Static work areas (the encoder is not re-entrant by design).
int g_codewords[kPdf417MaxCodewords];
int g_generator[kMaxEcc + 1];
int g_remainder[kMaxEcc];

bool IsDigit(std::uint8_t b) { return b >= '0' && b <= '9'; }

// Appends one codeword when there is room; -1 otherwise.
int Put(int* codewords, int count, int capacity, int value)
{
    if (count < 0 || count >= capacity)
        return -1;
    codewords[count] = value;
    return count + 1;
}

int CountDigits(const std::uint8_t* data, int pos, int length, int limit)
{
    int n = 0;
    while (pos + n < length && n < limit && IsDigit(data[pos + n]))
        ++n;
    return n;
}

// Bytes from pos that text compaction takes in one run: up to the first byte
// it cannot encode or the first run of digits long enough for numeric compaction.
int CountTextRun(const std::uint8_t* data, int pos, int length)
{
    int i = pos;
    while (i < length) {
        const int digits = CountDigits(data, i, length, kMinNumericRun);
        if (digits >= kMinNumericRun)
            break;
        if (digits > 0) {
            i += digits;
            continue;
        }
        if (!Pdf417IsText(data[i]))
            break;
        ++i;
    }
    return i - pos;
}

// ---- text compaction sub-modes ----

enum SubMode { kUpper, kLower, kMixed, kPunct };

constexpr char kMixedChars[] = "0123456789&\r\t,:#-.$/+%*=^";
constexpr char kPunctChars[] = ";<>@[\\]_`~!\r\t,:\n-.$/\"|*()?{}'";

int ValueIn(SubMode mode, std::uint8_t c)
{
    if (c == ' ' && mode != kPunct)
        return 26;
    switch (mode) {
    case kUpper: return c >= 'A' && c <= 'Z' ? c - 'A' : -1;
    case kLower: return c >= 'a' && c <= 'z' ? c - 'a' : -1;
    case kMixed:
        for (int i = 0; kMixedChars[i]; ++i)
            if (static_cast<std::uint8_t>(kMixedChars[i]) == c)
                return i;
        return -1;
    case kPunct:
        for (int i = 0; kPunctChars[i]; ++i)
            if (static_cast<std::uint8_t>(kPunctChars[i]) == c)
                return i;
        return -1;
    }
    return -1;
}

SubMode HomeOf(std::uint8_t c)
{
    for (SubMode m : {kUpper, kLower, kMixed})
        if (ValueIn(m, c) >= 0)
            return m;
    return kPunct;
}

// Pairs sub-mode values into codewords 30 x first + second.
struct TextWriter {
    int* codewords;
    int count;
    int capacity;
    int half = -1;

    bool Value(int v)
    {
        if (half < 0) {
            half = v;
            return true;
        }
        count = Put(codewords, count, capacity, 30 * half + v);
        half = -1;
        return count >= 0;
    }
    bool Finish() { return half < 0 || Value(29); }
};

// Sub-mode changes needed before character c; emits them and updates mode.
bool SwitchFor(TextWriter& out, SubMode& mode, std::uint8_t c)
{
    if (ValueIn(mode, c) >= 0)
        return true;
    const SubMode to = HomeOf(c);
    switch (mode) {
    case kUpper:
        if (to == kPunct)
            return out.Value(29); // shift
        mode = to;
        return out.Value(to == kLower ? 27 : 28);
    case kLower:
        if (to == kUpper)
            return out.Value(27); // shift
        if (to == kPunct)
            return out.Value(29); // shift
        mode = kMixed;
        return out.Value(28);
    case kMixed: mode = to; return out.Value(to == kUpper ? 28 : to == kLower ? 27 : 25);
    case kPunct:
        mode = to;
        if (!out.Value(29))
            return false;
        return to == kUpper || out.Value(to == kLower ? 27 : 28);
    }
    return false;
}

// ---- request parsing ----

int ReadDecimal(const std::uint8_t* p, int digits, int* value)
{
    int v = 0;
    for (int i = 0; i < digits; ++i) {
        if (!IsDigit(p[i]))
            return -1;
        v = v * 10 + (p[i] - '0');
    }
    *value = v;
    return 0;
}

int AutomaticLevel(int count)
{
    if (count <= 40)
        return 2;
    if (count <= 160)
        return 3;
    if (count <= 320)
        return 4;
    return 5;
}

int CeilDiv(int a, int b) { return (a + b - 1) / b; }

int AutomaticColumns(int model, int n, const Pdf417Layout& layout)
{
    const double area = 4.25 * layout.rowHeight * layout.widthRatio * n;
    const double c =
        model == kPdf417Standard ? (std::sqrt(area + 4761.0) - 36.0) / 34.0 : (std::sqrt(area + 1225.0) - 2.0) / 34.0;
    const int columns = static_cast<int>(std::floor(c));
    return columns < 1 ? 1 : columns > 30 ? 30 : columns;
}

int SizeMicro(int dataCount, const Pdf417Layout& layout, Pdf417Size* size)
{
    if (dataCount > kMicroPdf417MaxData)
        return kPdf417TooMuchData;
    if (layout.columns > 4)
        return kPdf417TooMuchData;
    for (int i = 0; i < 34; ++i) {
        const MicroPdf417Size& s = kMicroPdf417Sizes[i];
        if ((layout.columns == 0 || s.columns == layout.columns) && s.dataCodewords >= dataCount) {
            size->columns = s.columns;
            size->rows = s.rows;
            size->eccCount = s.columns * s.rows - s.dataCodewords;
            size->microIndex = i;
            return kPdf417Ok;
        }
    }
    return kPdf417TooMuchData;
}

// ---- row writing ----

struct RowWriter {
    std::uint8_t* row;
    int bit = 0;

    void Put(std::uint32_t pattern, int width)
    {
        for (int i = width - 1; i >= 0; --i, ++bit)
            if ((pattern >> i) & 1u)
                row[bit / 8] |= static_cast<std::uint8_t>(1u << (bit % 8));
    }
    void Codeword(int cluster, int value) { Put(kPdf417Patterns[cluster][value % 929], 17); }
};

void BuildStandardRow(int model, const int* codewords, const Pdf417Size& size, int r, int firstCluster,
                      std::uint8_t* row)
{
    const int cluster = (firstCluster + r) % 3;
    const int group = 30 * (r / 3);
    const int rowsPart = (size.rows - 1) / 3;
    const int levelPart = 3 * size.level + (size.rows - 1) % 3;
    const int columnsPart = size.columns - 1;
    int left = 0;
    int right = 0;
    switch (cluster) {
    case 0:
        left = rowsPart;
        right = columnsPart;
        break;
    case 1:
        left = levelPart;
        right = rowsPart;
        break;
    default:
        left = columnsPart;
        right = levelPart;
        break;
    }
    RowWriter w{row};
    w.Put(kStartPattern, 17);
    w.Codeword(cluster, group + left);
    for (int c = 0; c < size.columns; ++c)
        w.Codeword(cluster, codewords[r * size.columns + c]);
    if (model == kPdf417Standard) {
        w.Codeword(cluster, group + right);
        w.Put(kStopPattern, 18);
    } else {
        w.Put(1, 1);
    }
}

int RapAt(int start, int r) { return (start - 1 + r) % 52; }

void BuildMicroRow(const int* codewords, const Pdf417Size& size, int r, std::uint8_t* row)
{
    const MicroPdf417Size& s = kMicroPdf417Sizes[size.microIndex];
    const int left = RapAt(s.leftRap, r);
    // The left row address fixes the row's cluster; it never wraps within a symbol.
    const int cluster = left % 3;
    RowWriter w{row};
    w.Put(kMicroPdf417SideRap[left], 10);
    for (int c = 0; c < s.columns; ++c) {
        if (s.centreRap != 0 && c == s.columns - 2)
            w.Put(kMicroPdf417CentreRap[RapAt(s.centreRap, r)], 10);
        w.Codeword(cluster, codewords[r * s.columns + c]);
    }
    w.Put(kMicroPdf417SideRap[RapAt(s.rightRap, r)], 10);
    w.Put(1, 1);
}

} // namespace

bool Pdf417IsText(std::uint8_t byte) { return (byte >= 32 && byte <= 126) || byte == 9 || byte == 10 || byte == 13; }

int ParsePdf417MacroHeader(const std::uint8_t* request, int length, int* pos, Pdf417Macro* macro)
{
    *macro = Pdf417Macro{};
    if (*pos >= length || (request[*pos] != 'D' && request[*pos] != 'd'))
        return kPdf417Ok;
    const std::uint8_t* p = request + *pos + 1;
    if (length - *pos - 1 < 14)
        return kPdf417BadMacroHeader;
    int index = 0;
    int total = 0;
    int file = 0;
    if (ReadDecimal(p, 5, &index) < 0 || ReadDecimal(p + 5, 5, &total) < 0 || ReadDecimal(p + 10, 3, &file) < 0)
        return kPdf417BadMacroHeader;
    // A 1-based index of 0 and a file identifier above 899 have no valid codewords.
    if (index < 1 || total < index || file > 899)
        return kPdf417BadMacroHeader;
    *pos += 14;
    if (*pos < length && request[*pos] == ',')
        ++*pos;
    macro->on = true;
    macro->index = index - 1;
    macro->lastIndex = total - 1;
    macro->fileId = file;
    return kPdf417Ok;
}

int ParsePdf417Params(std::int32_t params, Pdf417Layout* layout)
{
    *layout = Pdf417Layout{};
    if (params == 0)
        return kPdf417Ok;
    const auto p = static_cast<std::uint32_t>(params);
    layout->columns = static_cast<int>(p & 0xFF);
    layout->rows = static_cast<int>((p >> 8) & 0xFF);
    layout->widthRatio = static_cast<int>((p >> 16) & 0xFF);
    layout->rowHeight = static_cast<int>((p >> 24) & 0xF);
    layout->firstCluster = static_cast<int>(p >> 28);
    if (layout->columns > 30 || layout->rows == 1 || layout->rows == 2 || layout->rows > 90 || layout->widthRatio < 2 ||
        layout->widthRatio > 128 || layout->rowHeight == 0 || layout->rowHeight > 10 || layout->firstCluster > 2)
        return kPdf417BadParams;
    return kPdf417Ok;
}

int Pdf417TextCompact(const std::uint8_t* data, int length, int* codewords, int count, int capacity)
{
    TextWriter out{codewords, count, capacity};
    SubMode mode = kUpper;
    for (int i = 0; i < length; ++i) {
        const std::uint8_t c = data[i];
        if (!SwitchFor(out, mode, c))
            return -1;
        const int v = ValueIn(mode, c) >= 0 ? ValueIn(mode, c) : ValueIn(HomeOf(c), c);
        if (!out.Value(v))
            return -1;
    }
    return out.Finish() ? out.count : -1;
}

int Pdf417ByteCompact(const std::uint8_t* data, int length, int* codewords, int count, int capacity)
{
    count = Put(codewords, count, capacity, length % 6 == 0 ? kLatchByteSix : kLatchByte);
    int i = 0;
    for (; i + 6 <= length && count >= 0; i += 6) {
        std::uint64_t v = 0;
        for (int j = 0; j < 6; ++j)
            v = (v << 8) | data[i + j];
        int digits[5];
        for (int j = 4; j >= 0; --j) {
            digits[j] = static_cast<int>(v % 900);
            v /= 900;
        }
        for (int j = 0; j < 5; ++j)
            count = Put(codewords, count, capacity, digits[j]);
    }
    for (; i < length; ++i)
        count = Put(codewords, count, capacity, data[i]);
    return count;
}

int Pdf417NumericCompact(const std::uint8_t* data, int length, int* codewords, int count, int capacity)
{
    if (length < 1 || length > kMaxNumericGroup)
        return -1;
    // The digit string prefixed by 1, divided by 900 repeatedly.
    int decimal[kMaxNumericGroup + 1];
    int n = length + 1;
    decimal[0] = 1;
    for (int i = 0; i < length; ++i)
        decimal[i + 1] = data[i] - '0';
    int base900[kMaxNumericGroup / 2];
    int produced = 0;
    int first = 0;
    while (first < n) {
        int remainder = 0;
        for (int i = first; i < n; ++i) {
            const int value = remainder * 10 + decimal[i];
            decimal[i] = value / 900;
            remainder = value % 900;
        }
        base900[produced++] = remainder;
        while (first < n && decimal[first] == 0)
            ++first;
    }
    for (int i = produced - 1; i >= 0; --i)
        count = Put(codewords, count, capacity, base900[i]);
    return count;
}

int Pdf417Compact(const std::uint8_t* data, int length, bool micro, int* codewords, int capacity)
{
    enum { kText, kNumeric } mode = kText;
    int count = 0;
    int pendingStart = 0;
    int pendingCount = 0;
    auto flush = [&] {
        if (pendingCount > 0)
            count = Pdf417ByteCompact(data + pendingStart, pendingCount, codewords, count, capacity);
        pendingCount = 0;
    };
    int pos = 0;
    while (pos < length && count >= 0) {
        const int digits = CountDigits(data, pos, length, kMaxNumericGroup);
        if (digits >= kMinNumericRun || (digits >= 2 && mode == kNumeric)) {
            const bool flushed = pendingCount > 0;
            flush();
            if (flushed || mode != kNumeric)
                count = Put(codewords, count, capacity, kLatchNumeric);
            count = Pdf417NumericCompact(data + pos, digits, codewords, count, capacity);
            mode = kNumeric;
            pos += digits;
            continue;
        }
        const int run = CountTextRun(data, pos, length);
        const bool nothingYet = count == 0 && pendingCount == 0;
        if (run >= 5 || (run >= 1 && mode == kText && pendingCount == 0)) {
            const bool flushed = pendingCount > 0;
            flush();
            if (flushed || mode != kText || (micro && nothingYet))
                count = Put(codewords, count, capacity, kLatchText);
            count = Pdf417TextCompact(data + pos, run, codewords, count, capacity);
            mode = kText;
            pos += run;
            continue;
        }
        // Bytes text compaction cannot take, and short text runs between other modes.
        if (pendingCount == 0)
            pendingStart = pos;
        ++pendingCount;
        ++pos;
    }
    flush();
    return count;
}

int Pdf417SizeSymbol(int model, int compactedCount, int dataCount, int eccDigitLevel, const Pdf417Layout& layout,
                     Pdf417Size* size)
{
    *size = Pdf417Size{};
    if (model == kMicroPdf417)
        return SizeMicro(dataCount, layout, size);
    const int level = eccDigitLevel >= 0 ? eccDigitLevel : AutomaticLevel(compactedCount + 1);
    const int k = 2 << level;
    const int n = dataCount + k;
    if (n > kPdf417MaxCodewords)
        return kPdf417TooMuchData;
    int columns = layout.columns;
    int rows = layout.rows;
    if (columns == 0 && rows == 0) {
        columns = AutomaticColumns(model, n, layout);
        rows = CeilDiv(n, columns);
        if (rows > 90) {
            columns = CeilDiv(n, 90);
            rows = 90;
        }
    } else if (rows == 0) {
        rows = CeilDiv(n, columns);
    } else if (columns == 0) {
        columns = CeilDiv(n, rows);
    }
    if (rows < 3)
        rows = 3;
    if (columns * rows > kPdf417MaxCodewords) {
        rows = rows < 59 ? 32 : 58;
        columns = CeilDiv(n, rows);
    }
    if (columns * rows < n || columns > 30 || rows > 90)
        return kPdf417TooMuchData;
    size->columns = columns;
    size->rows = rows;
    size->eccCount = k;
    size->level = level;
    return kPdf417Ok;
}

void Pdf417ErrorCorrection(int* codewords, int dataCount, int eccCount)
{
    // g(x) = (x - 3)(x - 3^2)...(x - 3^k), highest power first.
    int* g = g_generator;
    g[0] = 1;
    int root = 1;
    for (int degree = 0; degree < eccCount; ++degree) {
        root = root * 3 % 929;
        g[degree + 1] = 0;
        for (int i = degree + 1; i >= 1; --i)
            g[i] = (g[i] + 929 - root * g[i - 1] % 929) % 929;
    }
    int* r = g_remainder;
    for (int j = 0; j < eccCount; ++j)
        r[j] = 0;
    // r[j] holds the coefficient of x^j; g[eccCount - j] is g's coefficient of x^j.
    for (int i = 0; i < dataCount; ++i) {
        const int t = (codewords[i] + r[eccCount - 1]) % 929;
        for (int j = eccCount - 1; j >= 1; --j)
            r[j] = (r[j - 1] + 929 - t * g[eccCount - j] % 929) % 929;
        r[0] = (929 - t * g[eccCount] % 929) % 929;
    }
    for (int j = 0; j < eccCount; ++j)
        codewords[dataCount + j] = (929 - r[eccCount - 1 - j]) % 929;
}

int Pdf417RowWidth(int model, int columns)
{
    if (model == kPdf417Standard)
        return 17 * columns + 69;
    if (model == kPdf417Truncated)
        return 17 * columns + 35;
    return 17 * columns + (columns <= 2 ? 21 : 31);
}

int Pdf417BuildRows(int model, const int* codewords, const Pdf417Size& size, int firstCluster, std::uint8_t* matrix)
{
    const int width = Pdf417RowWidth(model, size.columns);
    const int stride = (width + 7) / 8;
    std::memset(matrix, 0, static_cast<std::size_t>(stride) * size.rows);
    for (int r = 0; r < size.rows; ++r) {
        std::uint8_t* row = matrix + r * stride;
        if (model == kMicroPdf417)
            BuildMicroRow(codewords, size, r, row);
        else
            BuildStandardRow(model, codewords, size, r, firstCluster, row);
    }
    return width;
}

int EncodePdf417(int requestLength, const std::uint8_t* request, std::int32_t* numCell, std::uint8_t* matrix, int model,
                 std::int32_t params, std::int32_t* eccUsed)
{
    if (model < kPdf417Standard || model > kMicroPdf417)
        return kPdf417BadModel;
    if (!request || requestLength < 0)
        requestLength = 0;
    const bool micro = model == kMicroPdf417;

    int pos = 0;
    Pdf417Macro macro;
    if (const int rc = ParsePdf417MacroHeader(request, requestLength, &pos, &macro); rc != kPdf417Ok)
        return rc;
    int eccDigitLevel = -1;
    const bool hasEccByte = pos < requestLength;
    if (!micro) {
        if (!hasEccByte || !IsDigit(request[pos]))
            return kPdf417BadEccDigit;
        eccDigitLevel = request[pos] - '1';
    }
    if (hasEccByte)
        ++pos;
    if (pos < requestLength && request[pos] == ',')
        ++pos;
    Pdf417Layout layout;
    if (const int rc = ParsePdf417Params(params, &layout); rc != kPdf417Ok)
        return rc;
    if (!numCell || !matrix)
        return kPdf417BadParams;

    // Standard symbols begin with the length descriptor.
    const int first = micro ? 0 : 1;
    const int compacted =
        Pdf417Compact(request + pos, requestLength - pos, micro, g_codewords + first, kPdf417MaxCodewords - first);
    if (compacted < 0)
        return kPdf417TooMuchData;
    const bool last = macro.on && macro.index == macro.lastIndex;
    const int macroCount = macro.on ? (last ? 5 : 4) : 0;
    const int dataCount = first + compacted + macroCount;
    Pdf417Size size;
    if (const int rc = Pdf417SizeSymbol(model, compacted, dataCount, eccDigitLevel, layout, &size); rc != kPdf417Ok)
        return rc;

    const int total = size.columns * size.rows;
    const int dataRegion = total - size.eccCount;
    int n = first + compacted;
    while (n < dataRegion - macroCount)
        g_codewords[n++] = kLatchText; // pad
    if (macro.on) {
        g_codewords[n++] = kMacroBegin;
        g_codewords[n++] = (macro.index + 100000) / 900;
        g_codewords[n++] = (macro.index + 100000) % 900;
        g_codewords[n++] = macro.fileId;
        if (last)
            g_codewords[n++] = kMacroLast;
    }
    if (!micro)
        g_codewords[0] = dataRegion;
    Pdf417ErrorCorrection(g_codewords, dataRegion, size.eccCount);

    const int stride = (Pdf417RowWidth(model, size.columns) + 7) / 8;
    if (stride * size.rows > kPdf417MatrixBytes)
        return kPdf417TooMuchData;
    const int width = Pdf417BuildRows(model, g_codewords, size, layout.firstCluster, matrix);
    *numCell = width | (size.rows << 16);
    if (!micro && eccUsed)
        *eccUsed = size.level;
    return kPdf417Ok;
}

} // namespace lx
