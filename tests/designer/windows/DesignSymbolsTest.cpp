#include "DesignEditing.h"
#include "DialogTestSupport.h"

#include "designer/model/LxLabelBarcode.h"
#include "designer/model/LxLabelCSVBarcode.h"
#include "designer/model/LxLabelCSVQRCarry.h"
#include "designer/model/LxLabelQRCarry.h"
#include "platform/text/Cp932.h"
#include "support/SymbolImages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <fstream>

using namespace lx;
using ZXing::BarcodeFormat;

namespace {

class DesignSymbolsTest : public lxtest::DesignEditingTest {
protected:
    lxtest::Decoded Decode(const Picture& picture, BarcodeFormat format)
    {
        return lxtest::DecodeSymbol(lxtest::PictureBitmap(picture), format);
    }

    // Shows the selected object's page again, as selecting it does.
    void Reselect()
    {
        lxtest::ClickTab(Editor().TABSheet, Doc().GetSelectedIndex(0));
        lxtest::ProcessEvents();
    }

    // A merge table of the CSV lines (UTF-8) and a merge object of the kind on it, selected.
    template <typename Merge>
    const Merge& AddMergeSymbol(std::uint8_t kind, const std::string& lines)
    {
        const std::string path = temp.File("table.csv");
        std::ofstream(path, std::ios::binary) << Sjis(lines);
        messages.ChooseFileNext(FileDialogResult{path, 0});
        lxtest::ClickButton(FormDesign, "PngBtnChangeCsvFile");
        // Kinds 6 and 7 come only from design files; the session adds them.
        Session().AddObject(kind);
        Editor().RefreshObjectTabs();
        Reselect();
        return ObjectAs<Merge>(0);
    }

    // Replaces the design's table through the merge page's button.
    void ChangeTable(const std::string& lines)
    {
        const std::string path = temp.File("changed.csv");
        std::ofstream(path, std::ios::binary) << Sjis(lines);
        messages.ChooseFileNext(FileDialogResult{path, 0});
        lxtest::Click(lxtest::Find(&Editor(), "PngBtnChangeCsvFile"));
    }

    // What object 0 encodes now, after the undo button, then after the redo
    // button. Undo snapshots of the object were bound to the table that the
    // change replaced; rendering them must not reach a freed table.
    template <typename Merge>
    std::vector<std::string> DecodedThroughUndoAndRedo()
    {
        const auto decoded = [this] {
            const lxtest::Decoded result = Decode(CopyOf<Merge>(0)->GetPicture(), BarcodeFormat::QRCode);
            return result.ok ? result.text : result.error;
        };
        std::vector<std::string> texts{decoded()};
        QTest::mouseClick(Editor().BtnUndo, Qt::LeftButton);
        texts.push_back(decoded());
        QTest::mouseClick(Editor().BtnRedo, Qt::LeftButton);
        texts.push_back(decoded());
        return texts;
    }
};

bool Shown(const QWidget* widget) { return !widget->isHidden(); }

} // namespace

TEST_F(DesignSymbolsTest, ANewSymbolScansAfterEveryEditAndKeepsItsProportions)
{
    Add(4);
    auto& symbol = ObjectAs<TLxLabelObjectBarcode>(0);
    EXPECT_EQ(Editor().PageControlProperty->currentWidget(), Editor().TabSheetBarcode);
    EXPECT_EQ(Editor().PageControlBarType->currentWidget(), Editor().TabSheetQr);
    EXPECT_EQ(Editor().CBQRModel->currentText(), QStringLiteral("Model 1"));
    EXPECT_EQ(Editor().CBQrErrLv->currentText(), QStringLiteral("M(15%)"));
    EXPECT_FALSE(Shown(Editor().CBType));
    Editor().EditSheetHeight->setText(QStringLiteral("50.0"));
    Editor().EditSheetWidth->setText(QStringLiteral("30.0"));

    Editor().MemoCodeQr->setPlainText(QStringLiteral("HELLO\nLABEL"));
    Editor().CBQRModel->setCurrentIndex(1);
    Editor().CBQrErrLv->setCurrentIndex(3);
    EXPECT_EQ(symbol.GetData(), "HELLO\r\nLABEL");
    EXPECT_EQ(symbol.GetModel(), 2);
    EXPECT_EQ(symbol.GetEccLevel(), 3);
    const lxtest::Decoded decoded = Decode(symbol.GetRenderedPicture(), BarcodeFormat::QRCode);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.text, "HELLO\r\nLABEL");
    // The square symbol makes the box square at its width, in whole millimetres.
    EXPECT_EQ(symbol.GetWidth(), 30.0);
    EXPECT_EQ(symbol.GetHeight(), 30.0);
    EXPECT_EQ(Editor().EditSheetHeight->text(), QStringLiteral("30.0"));
    EXPECT_GT(CountDark(10, 10, 30, 30), 200);
    EXPECT_FALSE(Session().IsSaved());
    // Each change is one step of the history.
    lxtest::ClickButton(FormDesign, "BtnUndo");
    lxtest::ClickButton(FormDesign, "BtnUndo");
    EXPECT_EQ(ObjectAs<TLxLabelObjectBarcode>(0).GetModel(), 1);
    EXPECT_EQ(ObjectAs<TLxLabelObjectBarcode>(0).GetData(), "HELLO\r\nLABEL");
    lxtest::ClickButton(FormDesign, "BtnUndo");
    EXPECT_EQ(ObjectAs<TLxLabelObjectBarcode>(0).GetData(), "");
}

TEST_F(DesignSymbolsTest, LoadedKindsShowTheirOwnPageAndWriteThroughIt)
{
    struct Case {
        const char* name;
        std::function<void(SymbolSettings&)> stored;
        QWidget* TFormDesign::*page;
        std::function<bool(TFormDesign&)> shows;
        std::function<void(TFormDesign&)> edit;
        BarcodeFormat format;
        std::string text;
    };
    const Case cases[] = {
        {"PDF417 truncated", [](auto& s) { s.SymbolKind = SymbolPdf417, s.Model = 2; }, &TFormDesign::TabSheetPdf417,
         [](auto& f) { return f.CBModePdf417->currentText() == QStringLiteral("Truncated"); },
         [](auto& f) { f.CBModePdf417->setCurrentIndex(0), f.MemoPdf417->setPlainText(QStringLiteral("PDF LABEL")); },
         BarcodeFormat::PDF417, "PDF LABEL"},
        {"Data Matrix rectangular", [](auto& s) { s.SymbolKind = SymbolDataMatrix, s.Model = 2; },
         &TFormDesign::TabSheetMatrix,
         [](auto& f) { return f.CBModelMatrix->currentText() == QStringLiteral("Rectangular"); },
         [](auto& f) { f.MemoMatrix->setPlainText(QStringLiteral("RECT 13")); }, BarcodeFormat::DataMatrix, "RECT 13"},
        {"ITF with bearer bar", [](auto& s) { s.SymbolKind = SymbolItf, s.BearerBar = 1, s.CheckDigit = 1; },
         &TFormDesign::TabSheetITF,
         [](auto& f) { return f.CBRover->isChecked() && f.CBChrd->isChecked() && f.CBChrd->isEnabled(); },
         [](auto& f) {
             f.CBChrd->setChecked(false), f.CBRover->setChecked(false);
             f.EditCodeItf->setText(QStringLiteral("12345678"));
         },
         BarcodeFormat::ITF, "12345678"},
        {"CODABAR", [](auto& s) { s.SymbolKind = SymbolCodabar, s.StartChar = "B", s.StopChar = "C"; },
         &TFormDesign::TabSheetCoda,
         [](auto& f) {
             return f.CBStartCharCoda->currentText() == QStringLiteral("B") &&
                 f.CBStopCharCoda->currentText() == QStringLiteral("C");
         },
         [](auto& f) { f.CBChrd->setChecked(false), f.EditCodeCoda->setText(QStringLiteral("40156")); },
         BarcodeFormat::Codabar, "40156"},
        {"CODE128", [](auto& s) { s.SymbolKind = SymbolCode128, s.StartChar = "B"; }, &TFormDesign::TabSheetCode128,
         [](auto& f) { return f.CBStartCharCode128->currentText() == QStringLiteral("B"); },
         [](auto& f) { f.EditCodeCode128->setText(QStringLiteral("Label 128")); }, BarcodeFormat::Code128, "Label 128"},
        {"EAN-13", [](auto& s) { s.SymbolKind = SymbolEan13; }, &TFormDesign::TabSheetEtc,
         [](auto& f) { return f.Label111->text().startsWith(QStringLiteral("■EAN-13は")); },
         [](auto& f) { f.EditBarText->setText(QStringLiteral("490123456789")); }, BarcodeFormat::EAN13,
         "4901234567894"},
        {"MaxiCode", [](auto& s) { s.SymbolKind = SymbolMaxiCode, s.MaxiCodeMode = 3; }, &TFormDesign::TabSheetMaxi,
         [](auto& f) { return f.CBMaxiMode->currentText() == QStringLiteral("Mode4"); },
         [](auto& f) { f.MemoMaxi->setPlainText(QStringLiteral("MAXICODE LABEL")); }, BarcodeFormat::MaxiCode,
         "MAXICODE LABEL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenCell(100, 60);
        Add(4);
        const auto& symbol = ObjectAs<TLxLabelObjectBarcode>(0);
        SymbolSettings stored = symbol.GetSettings();
        c.stored(stored);
        EditAs<TLxLabelObjectBarcode>(0, [&](TLxLabelObjectBarcode& o) { o.SetSettings(stored); });
        Reselect();
        EXPECT_EQ(Editor().PageControlBarType->currentWidget(), Editor().*c.page);
        EXPECT_TRUE(c.shows(Editor()));
        EXPECT_TRUE(Editor().MemoCodeQr->toPlainText().isEmpty()) << "other pages' boxes are cleared";
        EditAs<TLxLabelObjectBarcode>(0, [&](TLxLabelObjectBarcode& o) { o.SetWidth(60); });
        Reselect();
        c.edit(Editor());
        const lxtest::Decoded decoded = Decode(symbol.GetRenderedPicture(), c.format);
        ASSERT_TRUE(decoded.ok) << decoded.error;
        EXPECT_EQ(decoded.text, c.text);
        EXPECT_EQ(symbol.GetSymbolKind(), stored.SymbolKind) << "the kind is shown, never changed";
    }
}

TEST_F(DesignSymbolsTest, APostalCodeSymbolIsWrittenFromItsTwoBoxes)
{
    Add(4);
    const auto& symbol = ObjectAs<TLxLabelObjectBarcode>(0);
    EditAs<TLxLabelObjectBarcode>(0, [&](TLxLabelObjectBarcode& o) { o.SetSymbolKind(SymbolPostal); });
    Reselect();
    EXPECT_EQ(Editor().PageControlBarType->currentWidget(), Editor().TabSheetCostom);
    Editor().EditZip->setText(QStringLiteral("2630023"));
    Editor().EditAddress->setText(QStringLiteral("千葉市稲毛区緑町3丁目30-8"));
    EXPECT_EQ(symbol.GetZipCode(), "2630023");
    EXPECT_EQ(symbol.GetAddress(), Sjis("千葉市稲毛区緑町3丁目30-8"));
    EXPECT_FALSE(symbol.GetRenderedPicture().Empty());
    // A long flat bar code: the box becomes much lower than wide.
    EXPECT_LT(symbol.GetHeight() * 4, symbol.GetWidth());
}

TEST_F(DesignSymbolsTest, TheMobileQrPageFollowsTheCarrierAndEncodesItsTexts)
{
    Add(5);
    const auto& qr = ObjectAs<TLxLabelObjectQRCarry>(0);
    EXPECT_EQ(Editor().PageControlProperty->currentWidget(), Editor().TabSheetQRCarry);
    QRCarryFields fields = qr.GetFields();
    fields.Carrier = kCarrierMemory;
    fields.CreateType = 1;
    EditAs<TLxLabelObjectQRCarry>(0, [&](TLxLabelObjectQRCarry& o) { o.SetFields(fields); });
    Reselect();
    // Carrier 1 has no bookmark: its second kind is the mail page.
    EXPECT_TRUE(Editor().RadioBankAU->isChecked());
    EXPECT_EQ(Editor().PageControlQr->currentIndex(), 2);
    EXPECT_FALSE(Editor().PageControlQr->isTabVisible(1));
    EXPECT_TRUE(Shown(Editor().EditQrTel3));
    EXPECT_FALSE(Shown(Editor().EditQrDocomoUrl));
    EXPECT_EQ(Editor().Label83->text(), QStringLiteral("■TEL 2"));

    Editor().RadioDocomo->setChecked(true);
    EXPECT_TRUE(Editor().PageControlQr->isTabVisible(1));
    EXPECT_FALSE(Shown(Editor().EditQrTel3));
    EXPECT_EQ(Editor().Label83->text(), QStringLiteral("■TV電話"));
    EXPECT_EQ(Editor().Label87->text(), QStringLiteral("■ニックネーム"));
    EXPECT_EQ(qr.GetCarrier(), kCarrierMecard);
    Editor().PageControlQr->setCurrentIndex(0);
    Editor().EditQRName->setText(QStringLiteral("YAMADA,TARO"));
    Editor().EditQRTel1->setText(QStringLiteral("0312345678"));
    EXPECT_EQ(qr.GetCreateType(), 0);
    EXPECT_EQ(qr.GetPersonName(), "YAMADA,TARO");
    const lxtest::Decoded decoded = Decode(qr.GetRenderedPicture(), BarcodeFormat::QRCode);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.text.rfind("MECARD:N:YAMADA,TARO;", 0), 0u) << decoded.text;
    EXPECT_NE(decoded.text.find("TEL:0312345678;"), std::string::npos) << decoded.text;
}

TEST_F(DesignSymbolsTest, AMergeSymbolRendersEachRecordsCellAndKeepsItsBoxBeyondTheTable)
{
    const auto& merge = AddMergeSymbol<TLxLabelObjectCsvBarcode>(KindCsvBarcode, "A1,HELLO ROW 1\r\n");
    EXPECT_EQ(Editor().PageControlCSV->currentWidget(), Editor().TabSheetCsvBarcode);
    EXPECT_EQ(Editor().PageControlCsvBarType->currentWidget(), Editor().TabSheetCsvQr);
    EXPECT_EQ(Editor().CBCsvQrErrLv->currentText(), QStringLiteral("M(15%)"));
    EditAs<TLxLabelObjectCsvBarcode>(0, [&](TLxLabelObjectCsvBarcode& o) { o.SetWidth(40); });
    Reselect();
    Editor().CBCsvQr->setCurrentIndex(2);
    Editor().CBCsvQrModel->setCurrentIndex(1);
    EXPECT_EQ(merge.GetDataColumn(), 2);
    EXPECT_EQ(merge.GetModel(), 2);
    lxtest::Decoded decoded = Decode(merge.GetRenderedPicture(), BarcodeFormat::QRCode);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.text, "HELLO ROW 1");
    EXPECT_EQ(merge.GetHeight(), 40.0);

    // A record past the table's rows has nothing to show: the box stays.
    EditAs<TLxLabelObjectCsvBarcode>(0, [&](TLxLabelObjectCsvBarcode& o) { o.SetRecordIndex(5); });
    EditAs<TLxLabelObjectCsvBarcode>(0, [&](TLxLabelObjectCsvBarcode& o) { o.SetHeight(25); });
    Reselect();
    Editor().CBCsvQrErrLv->setCurrentIndex(0);
    EXPECT_TRUE(merge.GetRenderedPicture().Empty());
    EXPECT_EQ(merge.GetHeight(), 25.0);

    // The ITF options: the bearer bar box shows and writes the switch.
    EditAs<TLxLabelObjectCsvBarcode>(0, [&](TLxLabelObjectCsvBarcode& o) { o.SetSymbolKind(SymbolItf); });
    EditAs<TLxLabelObjectCsvBarcode>(0, [&](TLxLabelObjectCsvBarcode& o) { o.SetBearerBar(1); });
    Reselect();
    EXPECT_EQ(Editor().PageControlCsvBarType->currentWidget(), Editor().TabSheetCsvItf);
    EXPECT_TRUE(Editor().ChkBCsvItf->isChecked());
    EXPECT_EQ(Editor().CBCsvItf->currentIndex(), 2);
    Editor().ChkBCsvItf->setChecked(false);
    EXPECT_EQ(merge.GetBearerBar(), 0);
}

TEST_F(DesignSymbolsTest, AMergeMobileQrTakesItsTextsFromTheBoundColumns)
{
    const auto& merge = AddMergeSymbol<TLxLabelObjectCsvQRCarry>(KindCsvQRCarry, "SHOP,http://example.com/\r\n");
    EXPECT_EQ(Editor().PageControlCSV->currentWidget(), Editor().TabSheetCsvQRCarry);
    EXPECT_TRUE(Editor().RadioCsvDocomo->isChecked());
    EXPECT_TRUE(Shown(Editor().CBAddr));
    Editor().PageControlQrString->setCurrentIndex(1);
    Editor().CBSiteName->setCurrentIndex(1);
    Editor().CBUrl->setCurrentIndex(2);
    EXPECT_EQ(merge.GetCreateType(), 1);
    EXPECT_EQ(merge.GetSiteNameColumn(), 1);
    EXPECT_EQ(merge.GetSiteUrlColumn(), 2);
    const lxtest::Decoded decoded = Decode(CopyOf<TLxLabelObjectCsvQRCarry>(0)->GetPicture(), BarcodeFormat::QRCode);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.text.rfind("MEBKM:TITLE:SHOP;URL:http://example.com/;", 0), 0u) << decoded.text;

    // The other carrier hides the bookmark and shows the third telephone.
    Editor().RadioCsvBankAu->setChecked(true);
    EXPECT_FALSE(Editor().PageControlQrString->isTabVisible(1));
    EXPECT_TRUE(Shown(Editor().CBTel3));
    EXPECT_FALSE(Shown(Editor().CBAddr));
    EXPECT_EQ(Editor().Label99->text(), QStringLiteral("■TEL 2"));
    EXPECT_EQ(merge.GetCarrier(), kCarrierMemory);
}

TEST_F(DesignSymbolsTest, UndoAndRedoOfATableChangeShowEachTablesRowsInAMergeSymbol)
{
    AddMergeSymbol<TLxLabelObjectCsvBarcode>(KindCsvBarcode, "OLD ROW\r\n");
    Editor().CBCsvQr->setCurrentIndex(1);
    Editor().CBCsvQrModel->setCurrentIndex(1); // Model 2, which the decoder reads
    ChangeTable("NEW ROW\r\n");
    EXPECT_EQ(DecodedThroughUndoAndRedo<TLxLabelObjectCsvBarcode>(),
              (std::vector<std::string>{"NEW ROW", "OLD ROW", "NEW ROW"}));
    // The design's own table holds what is shown, so a save writes it.
    EXPECT_EQ(Session().MergeTable()->GetLines(), std::vector<std::string>{"NEW ROW"});
}

TEST_F(DesignSymbolsTest, UndoAndRedoOfATableChangeShowEachTablesRowsInAMergeMobileQr)
{
    AddMergeSymbol<TLxLabelObjectCsvQRCarry>(KindCsvQRCarry, "OLD,http://old.example/\r\n");
    Editor().PageControlQrString->setCurrentIndex(1);
    Editor().CBSiteName->setCurrentIndex(1);
    Editor().CBUrl->setCurrentIndex(2);
    ChangeTable("NEW,http://new.example/\r\n");
    const std::vector<std::string> texts = DecodedThroughUndoAndRedo<TLxLabelObjectCsvQRCarry>();
    ASSERT_EQ(texts.size(), 3u);
    const std::string oldMark = "MEBKM:TITLE:OLD;URL:http://old.example/;";
    const std::string newMark = "MEBKM:TITLE:NEW;URL:http://new.example/;";
    EXPECT_EQ(texts[0].rfind(newMark, 0), 0u) << texts[0];
    EXPECT_EQ(texts[1].rfind(oldMark, 0), 0u) << texts[1];
    EXPECT_EQ(texts[2].rfind(newMark, 0), 0u) << texts[2];
}

TEST_F(DesignSymbolsTest, AMergeCode128OrMaxiCodeShowsTheCodeSetAndModeItIsMadeWith)
{
    const auto& merge = AddMergeSymbol<TLxLabelObjectCsvBarcode>(KindCsvBarcode, "A1,HELLO 128\r\n");
    EditAs<TLxLabelObjectCsvBarcode>(0, [&](TLxLabelObjectCsvBarcode& o) { o.SetWidth(60); });
    Editor().CBCsvBarType->setCurrentIndex(SymbolCode128);
    Editor().CBCsvCode128->setCurrentIndex(2);
    EXPECT_EQ(Editor().CBCsvCodesetCode128->currentText(), QStringLiteral("A"));
    lxtest::Decoded decoded = Decode(merge.GetRenderedPicture(), BarcodeFormat::Code128);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.text, "HELLO 128");
    Editor().CBCsvCodesetCode128->setCurrentIndex(1);
    EXPECT_EQ(merge.GetStartChar(), "B");
    Reselect();
    EXPECT_EQ(Editor().CBCsvCodesetCode128->currentText(), QStringLiteral("B"));

    // Mode 0 is no mode: the control makes the symbol in Mode 4.
    Editor().CBCsvBarType->setCurrentIndex(SymbolMaxiCode);
    EXPECT_EQ(Editor().CBCsvMaxiMode->currentText(), QStringLiteral("Mode4"));
    EditAs<TLxLabelObjectCsvBarcode>(0, [&](TLxLabelObjectCsvBarcode& o) { o.SetMaxiCodeMode(2); });
    Reselect();
    EXPECT_EQ(Editor().CBCsvMaxiMode->currentText(), QStringLiteral("Mode3"));
}
