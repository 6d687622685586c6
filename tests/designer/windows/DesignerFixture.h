#pragma once
// A fresh designer for each test: its own copy of the shipped data folder,
// its own registry store naming it, its own single-instance lock, scripted
// message boxes, and the program started or the windows created on demand.
#include "designer/windows/DesignerProgram.h"
#include "platform/app/Messages.h"

#include "support/ScopedEnv.h"
#include "support/TestPaths.h"

#include "designer/model/EditorSession.h"
#include "designer/model/LxLabelManager.h"

#include <QApplication>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>

namespace lxtest {

class DesignerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program as main() does, minus the message loop.
    bool StartProgram(const std::vector<std::string>& arguments = {});
    // The design the program's editor edits.
    lx::EditorSession& Session() { return program->Session(); }
    // Edits object j of the current cell as one step of the session; the
    // selection stays as it was.
    void EditObject(std::int32_t j, const lx::ObjectEdit& edit);
    // The same, the object taken as the class it is of.
    template <typename T, typename Edit>
    void EditAs(std::int32_t j, Edit&& edit)
    {
        EditObject(j, [&](lx::TLxLableObjectBase& object) { edit(dynamic_cast<T&>(object)); });
    }
    // A copy of object j of the current cell, to ask what only a writable
    // object answers (its picture for its record).
    template <typename T>
    std::unique_ptr<T> CopyOf(std::int32_t j)
    {
        auto copy = Session().Document()->GetObject(j, Session().CurrentFace())->Clone();
        return std::unique_ptr<T>(&dynamic_cast<T&>(*copy.release()));
    }
    // The design is saved, into a file of the test's own.
    void MarkSaved();
    // The open design takes what `fill` puts into a document on its paper,
    // as if the user opened it from a file (a template of the test's own,
    // so the design keeps no file name).
    void FillDesign(const std::function<void(lx::TlxLabelManager&)>& fill);
    // The design saved and read back as the user opens a file: saved, with
    // an empty history; the cell and the selection shown stay.
    void Reopen();
    // The editor's panels write: a position typed into the common panel
    // reaches the selected object (a figure is added when none is selected).
    void ExpectPanelsWrite();
    // The folder the windows read (CP932, with its delimiter).
    std::string DataFolder() const;
    std::string DataPath(const std::string& relative) const { return temp.File("data/" + relative); }
    // Writes a file into the data folder; text given as UTF-8 is stored CP932.
    void WriteDataFile(const std::string& relative, const std::string& utf8Text) const;
    // The user's paper folder under the test's own XDG_DATA_HOME (CP932,
    // with its delimiter), a path in it (UTF-8), and a file written there.
    std::string UserFolder() const;
    std::string UserPath(const std::string& relative) const { return temp.File("userdata/tlxlabel/" + relative); }
    void WriteUserFile(const std::string& relative, const std::string& utf8Text) const;
    // A user paper of eight cells of three sizes (no sheet product has
    // cells of different sizes): a paper for multi mode only. The chooser
    // reads the catalogue when the program starts: write it before.
    static constexpr const char* kMixedPaper = "宛名差出人8面";
    void WriteMixedUserPaper() const;
    // Writes the layout of a category-0 A4 paper of that model and opens a
    // new design on it in the editor.
    void NewDesignOnPaper(const std::string& model, const std::string& layoutLines);
    // Points HOME at the test's own "home" folder (made here) and the user's
    // configuration at `configFolder`, until the test ends.
    void UseOwnHome(const std::string& configFolder);
    const std::string& LockFolder() const { return lockFolder_; }
    // Writes a design file (UTF-8 path) for the data folder's paper of that
    // category and model, portrait, with its faces filled by `fill`.
    std::string WriteDesign(const std::string& fileName, int category, const std::string& model,
                            const std::function<void(lx::TlxLabelManager&)>& fill) const;

    TempDir temp;
    lx::ScriptedMessages messages;
    std::unique_ptr<lx::DesignerProgram> program;
    // The program's windows once it started, as the user finds them.
    lx::TFormTopMenu* FormTopMenu = nullptr;
    lx::TFormSelectPaper* FormSelectPaper = nullptr;
    lx::TFormDesign* FormDesign = nullptr;
    lx::TFormSelectCsvType* FormSelectCsvType = nullptr;
    lx::TFormPreview* FormPreview = nullptr;
    lx::TFormAddPaper* FormAddPaper = nullptr;
    lx::TFormSelectPicture* FormSelectPicture = nullptr;
    lx::TFormPicSave* FormPicSave = nullptr;
    lx::TFormLoadTemp* FormLoadTemp = nullptr;
    // The nine windows in the program's order (null before the start), and
    // those on screen.
    std::vector<QWidget*> Windows() const;
    std::vector<QWidget*> VisibleWindows() const;

private:
    std::string lockFolder_;
    std::string savedRegistry_;
    bool hadRegistry_ = false;
    std::optional<ScopedEnv> userData_;
    std::optional<ScopedEnv> home_;
    std::optional<ScopedEnv> config_;
};

// Runs `act` on the next modal dialog of type T once it is up. The
// application owns the timer: a watch whose dialog never came, or whose
// deferred delete no event loop ran, goes with it.
template <typename T>
void WhenModalShows(std::function<void(T*)> act)
{
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start();
}

// Pixels of exactly that colour (0xAARRGGBB).
inline int CountPixels(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

// Lets queued events (layouts, repaints) run.
void ProcessEvents();

} // namespace lxtest
