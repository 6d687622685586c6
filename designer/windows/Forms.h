#pragma once
// The nine windows of the designer, created once at start-up and kept for
// the whole run, reachable through their global instances.
namespace lx {

class TFormTopMenu;
class TFormSelectPaper;
class TFormDesign;
class TFormSelectCsvType;
class TFormPreview;
class TFormAddPaper;
class TFormSelectPicture;
class TFormPicSave;
class TFormLoadTemp;

extern TFormTopMenu* FormTopMenu;
extern TFormSelectPaper* FormSelectPaper;
extern TFormDesign* FormDesign;
extern TFormSelectCsvType* FormSelectCsvType;
extern TFormPreview* FormPreview;
extern TFormAddPaper* FormAddPaper;
extern TFormSelectPicture* FormSelectPicture;
extern TFormPicSave* FormPicSave;
extern TFormLoadTemp* FormLoadTemp;

// Creates the windows in the program's order, the start menu first: later
// windows read the data folder from it while they are created.
void CreateForms();
// Destroys them in the reverse order and clears the instances.
void DestroyForms();

} // namespace lx
