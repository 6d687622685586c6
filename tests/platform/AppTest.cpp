#include "platform/app/Messages.h"
#include "platform/app/SingleInstance.h"
#include "platform/io/Errors.h"

#include "support/TestPaths.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace lx;

namespace {

// Runs `act` on the modal dialog of type T as soon as it is up.
template <typename T, typename Act>
void WhenModalShows(Act act)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start();
}

} // namespace

TEST(SingleInstance, OneHolderPerNameUntilItEndsHoweverItEnds)
{
    lxtest::TempDir temp;
    {
        SingleInstanceGuard first("BREVANT2_TRIAL_PROGRAM", temp.Path());
        EXPECT_FALSE(first.AnotherRunning());
        EXPECT_TRUE(SingleInstanceGuard("BREVANT2_TRIAL_PROGRAM", temp.Path()).AnotherRunning());
        EXPECT_FALSE(SingleInstanceGuard("OTHER_PROGRAM", temp.Path()).AnotherRunning());
    }
    EXPECT_FALSE(SingleInstanceGuard("BREVANT2_TRIAL_PROGRAM", temp.Path()).AnotherRunning());

    // A holder that is killed leaves no lock behind.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SingleInstanceGuard held("BREVANT2_TRIAL_PROGRAM", temp.Path());
        const char byte = held.AnotherRunning() ? 'n' : 'y';
        (void)!::write(ready[1], &byte, 1);
        ::pause();
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    EXPECT_EQ(byte, 'y');
    EXPECT_TRUE(SingleInstanceGuard("BREVANT2_TRIAL_PROGRAM", temp.Path()).AnotherRunning());
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(SingleInstanceGuard("BREVANT2_TRIAL_PROGRAM", temp.Path()).AnotherRunning());
    ::close(ready[0]);
    ::close(ready[1]);

    // A lock that cannot even be made is no reason to refuse to start.
    EXPECT_FALSE(SingleInstanceGuard("BREVANT2_TRIAL_PROGRAM", temp.File("missing")).AnotherRunning());
}

TEST(Messages, GuardShowsTheMessageAndTheLoopGoesOn)
{
    ScriptedMessages messages;
    EXPECT_TRUE(guarded([] {}));
    EXPECT_FALSE(guarded([] { throw FileError("ファイルを開けません: /x.bv2"); }));
    EXPECT_FALSE(guarded([] { throw 42; }));
    // No library text in English ever reaches a box.
    EXPECT_FALSE(guarded([] { throw std::bad_alloc(); }));
    EXPECT_FALSE(guarded([] { std::vector<char>().reserve(std::vector<char>().max_size() + 1); }));
    EXPECT_FALSE(guarded([] { throw std::runtime_error("iconv cannot convert"); }));
    const std::string memory = "メモリが不足しています。";
    const std::string unexpected = "予期しないエラーが発生しました。";
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"ファイルを開けません: /x.bv2", unexpected, memory, memory, unexpected}));
    EXPECT_EQ(messages.Shown()[0].buttons, MessageButtons::Ok);

    // A handler that throws inside the event loop: the next event still runs.
    messages.Clear();
    bool later = false;
    QTimer::singleShot(0, [] { guarded([] { throw Error("一つ目"); }); });
    QTimer::singleShot(5, [&] {
        later = true;
        QApplication::quit();
    });
    QApplication::exec();
    EXPECT_TRUE(later);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"一つ目"});
}

TEST(Messages, RealBoxIsCaptionedAndAnswersInJapanese)
{
    DialogMessages dialogs;
    QString caption;
    QStringList buttons;
    WhenModalShows<QMessageBox>([&](QMessageBox* box) {
        caption = box->windowTitle();
        for (auto* button : box->buttons())
            buttons << button->text();
        for (auto* button : box->buttons())
            if (button->text() == QStringLiteral("いいえ"))
                button->click();
    });
    EXPECT_EQ(dialogs.ShowMessage("続けますか？", MessageButtons::YesNo), MessageAnswer::No);
    EXPECT_EQ(caption, QStringLiteral("確認"));
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("はい"), QStringLiteral("いいえ")}));

    WhenModalShows<QMessageBox>([&](QMessageBox* box) {
        EXPECT_EQ(box->text(), QStringLiteral("既に起動しています。"));
        box->buttons().front()->click();
    });
    EXPECT_EQ(dialogs.ShowMessage("既に起動しています。", MessageButtons::Ok), MessageAnswer::Ok);
}

TEST(Messages, RealSaveDialogAddsTheDefaultExtension)
{
    lxtest::TempDir temp;
    DialogMessages dialogs;
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.folder = temp.Path();
    request.filters = {"Pomerel Brevant2ファイル (*.bv2)"};
    request.defaultSuffix = "bv2";
    QStringList filters;
    WhenModalShows<QFileDialog>([&](QFileDialog* dialog) {
        filters = dialog->nameFilters();
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QStringLiteral("ラベル"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const auto result = dialogs.ChooseFile(request);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->path, temp.File("ラベル.bv2"));
    EXPECT_EQ(result->filterIndex, 0);
    EXPECT_EQ(filters, QStringList{QStringLiteral("Pomerel Brevant2ファイル (*.bv2)")});

    WhenModalShows<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(dialogs.ChooseFile(request), std::nullopt);
}
