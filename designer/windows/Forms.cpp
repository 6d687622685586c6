#include "designer/windows/Forms.h"

#include "designer/windows/UnitAddPaper.h"
#include "designer/windows/UnitDesign.h"
#include "designer/windows/UnitLoadTemp.h"
#include "designer/windows/UnitPicSave.h"
#include "designer/windows/UnitPreview.h"
#include "designer/windows/UnitSelectCsvType.h"
#include "designer/windows/UnitSelectPaper.h"
#include "designer/windows/UnitSelectPicture.h"
#include "designer/windows/UnitTopMenu.h"

namespace lx {

TFormTopMenu* FormTopMenu = nullptr;
TFormSelectPaper* FormSelectPaper = nullptr;
TFormDesign* FormDesign = nullptr;
TFormSelectCsvType* FormSelectCsvType = nullptr;
TFormPreview* FormPreview = nullptr;
TFormAddPaper* FormAddPaper = nullptr;
TFormSelectPicture* FormSelectPicture = nullptr;
TFormPicSave* FormPicSave = nullptr;
TFormLoadTemp* FormLoadTemp = nullptr;

namespace {

template <typename Form>
void Create(Form*& instance)
{
    instance = new Form;
}

template <typename Form>
void Destroy(Form*& instance)
{
    delete instance;
    instance = nullptr;
}

} // namespace

void CreateForms()
{
    Create(FormTopMenu);
    Create(FormSelectPaper);
    Create(FormDesign);
    Create(FormSelectCsvType);
    Create(FormPreview);
    Create(FormAddPaper);
    Create(FormSelectPicture);
    Create(FormPicSave);
    Create(FormLoadTemp);
}

void DestroyForms()
{
    Destroy(FormLoadTemp);
    Destroy(FormPicSave);
    Destroy(FormSelectPicture);
    Destroy(FormAddPaper);
    Destroy(FormPreview);
    Destroy(FormSelectCsvType);
    Destroy(FormDesign);
    Destroy(FormSelectPaper);
    Destroy(FormTopMenu);
}

} // namespace lx
