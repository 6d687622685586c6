// The editor's ways out of the design: the print preview and the picture
// export.
#include "designer/windows/UnitDesign.h"

#include "designer/model/DesignPrinter.h"
#include "designer/model/LxLabelManager.h"
#include "designer/windows/HandlerWiring.h"
#include "designer/windows/PictureButton.h"
#include "designer/windows/UnitPicSave.h"
#include "designer/windows/UnitPreview.h"
#include "platform/text/Numbers.h"

#include <QBoxLayout>
#include <QFrame>
#include <QPushButton>

namespace lx {

namespace {

PictureButton* ToolBarButton(const char* name, const QString& picture, const QString& caption)
{
    auto* button = new PictureButton;
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setToolTip(caption);
    button->setPictures(QStringLiteral(":/images/") + picture);
    button->setFixedSize(button->sizeHint());
    return button;
}

} // namespace

void TFormDesign::BuildPrintComponents()
{
    BtnPrint = ToolBarButton("BtnPrint", QStringLiteral("print"), QStringLiteral("印刷"));
    PngBtnPicOut = ToolBarButton("PngBtnPicOut", QStringLiteral("picture_out"), QStringLiteral("画像書出"));
    // Beside the file buttons, where the tool bar never scrolls away.
    auto* tools = qobject_cast<QBoxLayout*>(PanelTool->layout());
    const int at = tools->indexOf(BtnPaperConfig) + 1;
    tools->insertWidget(at, BtnPrint);
    tools->insertWidget(at + 1, PngBtnPicOut);
    // Room for the two and the paper's model number at 950 pixels with the
    // undo buttons shown: the text buttons are as wide as their captions
    // and the gaps narrow.
    tools->setSpacing(4);
    for (QPushButton* button : PanelTool->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        button->setFixedWidth(button->fontMetrics().horizontalAdvance(button->text()) + 16);
    Wire("BtnPrintClick", BtnPrint, &QAbstractButton::clicked, this, [this] { guarded([this] { BtnPrintClick(); }); });
    Wire("PngBtnPicOutClick", PngBtnPicOut, &QAbstractButton::clicked, this,
         [this] { guarded([this] { PngBtnPicOutClick(); }); });
}

void TFormDesign::BtnPrintClick()
{
    if (Session.Document() && Session.Layout() && Windows.preview)
        Windows.preview->ShowPreview(*Session.Document(), *Session.Layout(), *Session.MergeTable());
}

void TFormDesign::PngBtnPicOutClick()
{
    if (!Session.Document() || !Session.Layout() || !Windows.pictureExport)
        return;
    // The label the cell shows on the first sheet, with what is not printed.
    const DesignPrinter printer(*Session.Document(), *Session.Layout(), Session.MergeTable().get());
    const EnhMetafile picture = printer.LabelPicture(Session.CurrentFace(), false);
    const auto width = TryRoundToInt(Session.Layout()->GetLabelWidth(Session.CurrentFace()));
    const auto height = TryRoundToInt(Session.Layout()->GetLabelHeight(Session.CurrentFace()));
    // A size no picture can have is no size at all.
    Windows.pictureExport->ShowPicSave(width.value_or(0), height.value_or(0), picture);
}

} // namespace lx
