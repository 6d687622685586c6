#pragma once
// Helpers of the document and design-file tests: sheet layouts made in
// memory and small designs with text, merge and serial objects.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "designer/model/LxCSV.h"
#include "designer/model/LxLabelCSVString.h"
#include "designer/model/LxLabelManager.h"
#include "designer/model/LxLabelRenbanString.h"
#include "designer/model/LxLabelString.h"
#include "designer/model/LxLblInfo.h"

namespace lxtest {

// A layout whose cell i has the i-th (width, height), in mm, portrait.
inline lx::TlxLblInfo MakeLayout(const std::vector<std::pair<double, double>>& sizes, bool portrait = true)
{
    lx::TlxLblInfo layout;
    layout.Paper = lx::TlxPaperObject("3", "L-24", "A4", "A4", "210", "297");
    layout.Header = "LBLBASE";
    layout.Version = "1.00";
    layout.Portrait = portrait;
    for (std::size_t i = 0; i < sizes.size(); ++i)
        layout.Cells.emplace_back(lx::lxLineNomal, 5.0 + 2 * i, 7.0 + 3 * i, sizes[i].first, sizes[i].second);
    layout.LabelCount = static_cast<std::int32_t>(sizes.size());
    return layout;
}

inline std::unique_ptr<lx::TLxLabelObjectString> TextObject(const std::string& name, const std::string& text)
{
    auto object = std::make_unique<lx::TLxLabelObjectString>();
    object->SetName(name);
    object->SetText(text);
    return object;
}

inline std::unique_ptr<lx::TLxLabelObjectCsvString> MergeObject(const std::shared_ptr<lx::TLxCSV>& table, int column,
                                                                int record)
{
    auto object = std::make_unique<lx::TLxLabelObjectCsvString>(table, record);
    object->SetName("merge");
    object->SetColumn(column);
    return object;
}

inline std::unique_ptr<lx::TLxLabelObjectRenbanString> SerialObject(int record)
{
    auto object = std::make_unique<lx::TLxLabelObjectRenbanString>(record);
    object->SetName("serial");
    return object;
}

// Names of a face's objects from the front.
inline std::vector<std::string> FaceNames(const lx::TlxLabelManager& document, int face)
{
    std::vector<std::string> names;
    for (int j = 0; j < document.GetObjectCount(face); ++j)
        names.push_back(document.GetObject(j, face)->GetName());
    return names;
}

} // namespace lxtest
