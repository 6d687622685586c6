#include "designer/windows/UnitTopMenu.h"

#include "designer/windows/HandlerWiring.h"
#include "designer/windows/PictureButton.h"
#include "designer/windows/QtBridge.h"
#include "designer/windows/UnitDesign.h"
#include "designer/windows/UnitLoadTemp.h"
#include "designer/windows/UnitSelectPaper.h"
#include "platform/app/Messages.h"
#include "platform/text/Cp932.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>

namespace lx {

TFormTopMenu::TFormTopMenu(DataFolders folders, QWidget* parent) : QWidget(parent), Folders(std::move(folders))
{
    setObjectName(QStringLiteral("FormTopMenu"));
    setWindowTitle(FromUtf8(kApplicationTitle));
    // The main window, in a fixed dialog frame.
    UseDialogFrame(this);
    setFixedSize(605, 308);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 605, 308);
    Image1->setPixmap(QPixmap(QStringLiteral(":/images/background.png")));
    PngBtnOpenFile = MakeButton("PngBtnOpenFile", QStringLiteral("open_file"), 22, 210,
                                LX_HANDLER(TFormTopMenu, PngBtnOpenFileClick));
    PngBtnClose =
        MakeButton("PngBtnClose", QStringLiteral("close"), 312, 210, LX_HANDLER(TFormTopMenu, PngBtnCloseClick));
    PngBtnSelectPaper = MakeButton("PngBtnSelectPaper", QStringLiteral("select_paper"), 22, 120,
                                   LX_HANDLER(TFormTopMenu, PngBtnSelectPaperClick));
    PngBtnTemplate = MakeButton("PngBtnTemplate", QStringLiteral("template"), 312, 120,
                                LX_HANDLER(TFormTopMenu, PngBtnTemplateClick));
    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(20, 16, 566, 85);
    Image2->setPixmap(QPixmap(QStringLiteral(":/images/title.png")));
    CentreOnDesktop(this);
}

PictureButton* TFormTopMenu::MakeButton(const char* name, const QString& picture, int left, int top,
                                        void (TFormTopMenu::*handler)(), const char* handlerName)
{
    auto* button = new PictureButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, top, 274, 74);
    button->setPictures(QStringLiteral(":/images/") + picture);
    Wire(handlerName, button, &QAbstractButton::clicked, this,
         [this, handler] { guarded([&] { (this->*handler)(); }); });
    return button;
}

void TFormTopMenu::OpenFromMenu(const std::function<void()>& open)
{
    if (!guarded(open) && !(Windows.editor && Windows.editor->isVisible()))
        show();
}

void TFormTopMenu::PngBtnSelectPaperClick()
{
    hide();
    Windows.paperChooser->show();
}

void TFormTopMenu::PngBtnTemplateClick()
{
    if (Windows.templateChooser->exec() != 1)
        return;
    const std::string path = Windows.templateChooser->ChosenTemplatePath();
    if (path.empty())
        return;
    hide();
    OpenFromMenu([&] { Windows.editor->OpenTemplateFile(path); });
}

void TFormTopMenu::PngBtnOpenFileClick()
{
    const auto path = Windows.editor->RunOpenDialog();
    if (!path)
        return;
    hide();
    OpenFromMenu([&] { Windows.editor->OpenDesignFile(*path); });
}

void TFormTopMenu::PngBtnCloseClick() { close(); }

void TFormTopMenu::closeEvent(QCloseEvent* event)
{
    // Closing the start menu ends the program, whatever else is open.
    event->accept();
    QCoreApplication::quit();
}

} // namespace lx
