// Makes the shipped design templates with their preview pictures, and the
// bitmap picture of the material folder; the results are committed under
// shipped/. Build and run:
//   cmake --build build --target lx_make_templates
//   export LX_REGISTRY_FILE=build/designer/windows/lx-registry.txt
//   QT_QPA_PLATFORM=offscreen build/designer/windows/lx_make_templates data designer/windows/shipped
// (the registry store that the build writes beside tlxlabel names the
// symbol control that draws the merge template's QR code).
#include "designer/model/LxCSV.h"
#include "designer/model/LxDesignFile.h"
#include "designer/model/LxLabelCSVBarcode.h"
#include "designer/model/LxLabelCSVString.h"
#include "designer/model/LxLabelFigure.h"
#include "designer/model/LxLabelManager.h"
#include "designer/model/LxLabelRenbanString.h"
#include "designer/model/LxLabelString.h"
#include "designer/model/LxLblInfo.h"
#include "designer/model/LxPaper.h"
#include "designer/model/SheetDrawing.h"
#include "designer/model/UnitCommon.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/image/BitmapImage.h"
#include "platform/image/JpegImage.h"
#include "platform/io/Files.h"
#include "platform/metafile/EnhMetafile.h"
#include "platform/text/Cp932.h"

#include <QGuiApplication>
#include <cmath>
#include <cstdio>
#include <exception>
#include <functional>
#include <string>

namespace {

using namespace lx;

constexpr int kPreviewSide = 280;

// Colours as the model keeps them: 0x00BBGGRR.
constexpr std::uint32_t Bgr(int r, int g, int b)
{
    return std::uint32_t(b) << 16 | std::uint32_t(g) << 8 | std::uint32_t(r);
}

struct Box {
    double left, top, width, height;
};

void Place(TLxLableObjectBase& object, const Box& box)
{
    object.SetLeft(box.left);
    object.SetTop(box.top);
    object.SetWidth(box.width);
    object.SetHeight(box.height);
}

// Objects are added in front of the others: add from the back to the front.
TLxLabelObjectString& AddText(TlxLabelManager& document, const Box& box, const char* utf8, int points,
                              std::uint32_t colour = 0, std::uint8_t alignment = 0)
{
    document.AddObject(0, 0);
    auto& text = dynamic_cast<TLxLabelObjectString&>(*document.GetObject(0, 0));
    Place(text, box);
    text.SetText(Sjis(utf8));
    text.SetFontSize(points);
    text.SetFontColor(colour);
    text.SetAlignment(alignment);
    return text;
}

void AddFigure(TlxLabelManager& document, const Box& box, std::uint8_t type, std::uint32_t colour, int width = 3)
{
    document.AddObject(1, 0);
    auto& figure = dynamic_cast<TLxLabelObjectFigure&>(*document.GetObject(0, 0));
    Place(figure, box);
    figure.SetFigureType(type);
    figure.SetLineColor(colour);
    figure.SetLineWidth(width);
}

void AddSerial(TlxLabelManager& document, const Box& box, const char* start, int points)
{
    document.AddObject(8, 0);
    auto& serial = dynamic_cast<TLxLabelObjectRenbanString&>(*document.GetObject(0, 0));
    Place(serial, box);
    serial.SetStartNumber(start);
    serial.SetFinishNumber("9999");
    serial.SetFontSize(points);
}

void AddressLabel(TlxLabelManager& d) // 86.4 x 42.3
{
    AddText(d, {4, 4, 40, 6}, "〒123-4567", 10);
    AddText(d, {4, 11, 78, 6}, "東京都千代田区見本町1-2-3", 12);
    AddText(d, {4, 18, 78, 6}, "サンプルビル5階", 12);
    AddText(d, {8, 28, 74, 9}, "見本 太郎 様", 16, 0, 1);
}

void BusinessCard(TlxLabelManager& d) // 85 x 54
{
    AddFigure(d, {0, 0, 85, 8}, FigureFilledRectangle, Bgr(0x2F, 0x6F, 0xB5));
    AddText(d, {6, 11, 74, 6}, "株式会社サンプル商会", 11, Bgr(0x2F, 0x6F, 0xB5));
    AddText(d, {6, 18, 74, 5}, "営業部 主任", 9);
    AddText(d, {6, 25, 74, 9}, "見本 花子", 18);
    AddFigure(d, {6, 37, 73, 1}, FigureHorizontalLine, Bgr(0x80, 0x80, 0x80), 2);
    AddText(d, {6, 40, 74, 5}, "TEL 03-0000-0000", 9);
    AddText(d, {6, 46, 74, 5}, "mihon@example.jp", 9);
}

void ThanksSticker(TlxLabelManager& d) // circle 40 x 40
{
    AddFigure(d, {2, 2, 36, 36}, FigureEllipse, Bgr(0xE8, 0x5A, 0x8C), 8);
    AddText(d, {4, 14, 32, 8}, "ありがとう", 12, Bgr(0xE8, 0x5A, 0x8C), 1);
    AddText(d, {4, 24, 32, 5}, "Thank you", 8, Bgr(0x80, 0x80, 0x80), 1);
}

void NumberedTag(TlxLabelManager& d) // 66 x 33.9
{
    AddFigure(d, {2, 2, 62, 30}, FigureRectangle, Bgr(0x30, 0x30, 0x30), 4);
    AddText(d, {5, 5, 56, 6}, "整理番号", 10);
    AddText(d, {5, 16, 14, 10}, "No.", 14);
    AddSerial(d, {20, 14, 40, 12}, "0001", 22);
}

// One member's row, shown in the preview of the merge template only.
const std::shared_ptr<const TLxCSV>& SampleRow()
{
    static const std::shared_ptr<const TLxCSV> table = [] {
        MemoryStream block;
        block.WriteUInt8(1);
        block.WriteInt32(1);
        block.WriteInt32(0);
        WriteStreamString(Sjis("見本 太郎,No.0001,https://example.jp/m/0001\r\n"), block);
        block.Seek(0);
        auto sample = std::make_shared<TLxCSV>();
        sample->LoadFromStream(block);
        return sample;
    }();
    return table;
}

void AddMergeText(TlxLabelManager& document, const Box& box, int column, int points, std::uint8_t style = 0)
{
    document.AddMergeObject(5, 0, SampleRow());
    auto& text = dynamic_cast<TLxLabelObjectCsvString&>(*document.GetObject(0, 0));
    Place(text, box);
    text.SetColumn(column);
    text.SetFontSize(points);
    text.SetFontStyle(style);
}

void AddMergeQr(TlxLabelManager& document, const Box& box, int column)
{
    document.AddMergeObject(6, 0, SampleRow());
    auto& symbol = dynamic_cast<TLxLabelObjectCsvBarcode&>(*document.GetObject(0, 0));
    Place(symbol, box);
    symbol.SetSymbolKind(SymbolQr);
    symbol.SetModel(2);
    symbol.SetEccLevel(1);
    symbol.SetDataColumn(column);
}

// A member card: the name and the member's QR code come from the merge
// table; the user binds the columns to a CSV file of their own.
void MemberCard(TlxLabelManager& d) // 83.8 x 42.3
{
    AddFigure(d, {1.5, 1.5, 80.8, 39.3}, FigureRectangle, Bgr(0x3C, 0x6E, 0xB4), 4);
    AddFigure(d, {1.5, 1.5, 80.8, 7}, FigureFilledRectangle, Bgr(0x3C, 0x6E, 0xB4));
    AddText(d, {4, 2.5, 40, 5}, "会員証", 10, Bgr(0xFF, 0xFF, 0xFF));
    AddMergeText(d, {4, 14, 44, 9}, 1, 16, kFontBold);
    AddText(d, {4, 30, 44, 5}, "ポメレル文具店 会員", 8, Bgr(0x50, 0x50, 0x50));
    AddMergeQr(d, {53, 11, 27, 27}, 3);
}

// The template keeps its merge objects unbound and without a table: the
// sample row belongs to the preview only.
void ForgetSampleRow(TlxLabelManager& document)
{
    for (std::int32_t i = 0; i < document.GetObjectCount(0); ++i) {
        TLxLableObjectBase* object = document.GetObject(i, 0);
        if (auto* text = dynamic_cast<TLxLabelObjectCsvString*>(object)) {
            text->SetColumn(0);
            text->SetCSV(nullptr);
        } else if (auto* symbol = dynamic_cast<TLxLabelObjectCsvBarcode*>(object)) {
            symbol->SetDataColumn(0);
            symbol->SetCSV(nullptr);
            symbol->UpdateSymbolForRecord();
        }
    }
}

struct Template {
    const char* name;
    int category;
    const char* model;
    std::function<void(TlxLabelManager&)> fill;
};

Bitmap Preview(TlxLabelManager& document, const TlxLblInfo& layout)
{
    const Size size = FitProportionally(layout.GetLabelWidth(0), layout.GetLabelHeight(0), kPreviewSide, kPreviewSide);
    Bitmap picture(size.cx, size.cy);
    const EnhMetafile label = document.RenderFace(0, 0);
    RasterDeviceContext dc(picture);
    PlayEnhMetafile(dc, label, Rect{0, 0, size.cx, size.cy});
    dc.SetBkMode(BkMode::Transparent);
    dc.SelectPen({PenStyle::Solid, 0, 0xA0A0A0});
    DrawCellOutline(dc, layout.Cells[0].GetLineKind(), Rect{0, 0, size.cx, size.cy});
    return picture;
}

void MakeTemplate(const std::string& dataFolder, const std::string& folder, const Template& t)
{
    const TlxPaper catalogue(CatalogueFilePath(dataFolder));
    const TlxPaperObject* paper = catalogue.FindPaper(t.category, t.model);
    if (!paper)
        throw Error(std::string("no paper ") + t.model);
    const TlxLblInfo layout(dataFolder, true, *paper);
    TlxLabelManager document(layout.LabelCount, layout);
    document.SetSingleMode(layout.SingleMode);
    t.fill(document);
    document.SetSelectedIndex(-1, 0);
    const std::string base = folder + t.name; // file names are UTF-8
    WriteFileReplacing(base + ".JPG", EncodeJpeg(Preview(document, layout), 90));
    ForgetSampleRow(document);
    SaveDesignFile(base + ".bv2t", TLxCSV(), layout, document);
}

// Polka dots on a soft background: the bitmap sample of the material.
Bitmap PolkaDots()
{
    constexpr int kSide = 160, kPitch = 32, kRadius = 10;
    Bitmap picture(kSide, kSide);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int row = y / kPitch;
            const int cx = (x + (row % 2) * kPitch / 2) % kPitch - kPitch / 2;
            const int cy = y % kPitch - kPitch / 2;
            const bool dot = cx * cx + cy * cy <= kRadius * kRadius;
            picture.SetPixel(x, y, dot ? 0xFFE8708Cu : 0xFFFDF0F4u);
        }
    return picture;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: lx_make_templates <data folder> <shipped folder>\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
    try {
        const std::string data = std::string(argv[1]) + "/";
        const std::string shipped = std::string(argv[2]) + "/";
        const std::string templates = shipped + "テンプレート/";
        for (const Template& t :
             {Template{"宛名ラベル", 0, "OP3001", AddressLabel}, Template{"名刺", 1, "C32011-10", BusinessCard},
              Template{"丸型シール", 0, "OP3019", ThanksSticker}, Template{"整理番号ラベル", 0, "OP3008", NumberedTag},
              Template{"差込QR会員証", 0, "CJH861S", MemberCard}})
            MakeTemplate(data, templates, t);
        WriteFileReplacing(shipped + "素材/マーク/水玉.bmp", EncodeBmp(PolkaDots()));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lx_make_templates: %s\n", error.what());
        return 1;
    }
    return 0;
}
