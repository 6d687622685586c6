// The least the merge print job can cost with our encoder and Qt's PDF
// writer: each row split at its commas, its URL encoded as a QR Code, the
// dark modules drawn as rectangles and the two lines as text straight onto
// QPdfWriter. bench_merge_print.sh runs it beside the real print road.
#include "bench/MergePrintJob.h"
#include "symbol/encoders/QrEncoder.h"

#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <benchmark/benchmark.h>

#include <array>
#include <vector>

namespace {

using namespace lxbench;

constexpr int kDpi = 600;
constexpr double kQuietModules = 4;

double Dots(double mm) { return mm * kDpi / 25.4; }

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == ',')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

void DrawQr(QPainter& painter, const std::string& data, QPointF origin)
{
    std::string r = "MA," + data;
    std::vector<std::uint8_t> request(r.begin(), r.end());
    request.push_back(0);
    static std::array<std::uint8_t, 177 * 23> matrix;
    int size = 0;
    if (lx::EncodeQr(static_cast<int>(r.size()), request.data(), &size, matrix.data(), 2, 0) < 0 || size <= 0)
        return;
    const double pitch = Dots(kQrSide) / (size + 2 * kQuietModules);
    const int stride = (size + 7) / 8;
    painter.setPen(Qt::NoPen);
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size;) {
            auto dark = [&](int c) { return (matrix[row * stride + c / 8] >> (c % 8)) & 1; };
            if (!dark(column)) {
                ++column;
                continue;
            }
            int end = column;
            while (end < size && dark(end))
                ++end;
            painter.drawRect(QRectF(origin.x() + (column + kQuietModules) * pitch,
                                    origin.y() + (row + kQuietModules) * pitch, (end - column) * pitch, pitch));
            column = end;
        }
    }
}

void DrawLabel(QPainter& painter, const std::vector<std::string>& fields, QPointF origin, const QFont& name,
               const QFont& second)
{
    DrawQr(painter, fields.at(2), origin + QPointF(Dots(kQrLeft), Dots(kQrTop)));
    painter.setPen(Qt::black);
    painter.setFont(name);
    painter.drawText(QRectF(origin.x() + Dots(kTextLeft), origin.y() + Dots(12), Dots(45), Dots(5)),
                     Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(fields.at(0)));
    painter.setFont(second);
    painter.drawText(QRectF(origin.x() + Dots(kTextLeft), origin.y() + Dots(20), Dots(45), Dots(5)),
                     Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(fields.at(1)));
}

void PrintFloor(int records, const QString& pdf)
{
    QPdfWriter writer(pdf);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF());
    writer.setResolution(kDpi);
    QPainter painter(&writer);
    painter.setBrush(Qt::black);
    QFont name("IPAGothic");
    name.setPointSizeF(9);
    QFont second("IPAGothic");
    second.setPointSizeF(8);
    for (int r = 1; r <= records; ++r) {
        const int cell = (r - 1) % 12;
        if (cell == 0 && r > 1)
            writer.newPage();
        const QPointF origin(Dots(kSheetLeft + cell % 2 * kLabelWidth), Dots(kSheetTop + cell / 2 * kLabelHeight));
        DrawLabel(painter, Fields(RecordLine(r)), origin, name, second);
    }
}

void BM_MergeFloor(benchmark::State& state)
{
    const QString pdf = QString::fromStdString(OutputFolder() + "/floor-" + std::to_string(state.range(0)) + ".pdf");
    for (auto _ : state)
        PrintFloor(static_cast<int>(state.range(0)), pdf);
    state.counters["labels/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * state.range(0)), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_MergeFloor)->Arg(1000)->Arg(10000)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
