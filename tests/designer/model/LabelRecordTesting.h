#pragma once
// Helpers for the tests of the label object kinds: save/load
// round trips through memory streams, and cells drawn onto bitmaps.
#include <memory>
#include <string>
#include <string_view>

#include "designer/model/LxLabelObjectManager.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/io/Errors.h"
#include "platform/io/Stream.h"

#include <gtest/gtest.h>

#include "LabelTestSupport.h"

namespace lxtest {

// The own part of an object's record, after the common part.
template <class T>
std::string OwnPart(const T& object)
{
    lx::MemoryStream stream;
    object.SaveOwnPart(stream);
    return stream.TakeBytes();
}

// A fresh object of the class loaded from the record, read to its end.
template <class T>
std::unique_ptr<T> Reloaded(const std::string& record)
{
    lx::MemoryStream stream(record);
    auto object = std::make_unique<T>();
    object->LoadFromStream(stream);
    EXPECT_EQ(stream.Position(), stream.Size());
    return object;
}

// Loading the record and cloning both give an object of the same class that
// writes the same record again; a record cut anywhere is a ReadError.
template <class T>
void ExpectRoundTrips(const T& object)
{
    const std::string record = SavedBytes(object);
    EXPECT_EQ(SavedBytes(*Reloaded<T>(record)), record);
    const auto clone = object.Clone();
    ASSERT_NE(dynamic_cast<const T*>(clone.get()), nullptr);
    EXPECT_EQ(SavedBytes(*clone), record);
    for (std::size_t cut : {record.size() - 1, record.size() / 2})
        EXPECT_THROW(Reloaded<T>(record.substr(0, cut)), lx::ReadError);
}

// Pixels of a cell drawn at 254 dpi, ten pixels to the millimetre, on white.
inline constexpr double kTenPerMm = 254;
inline lx::Bitmap DrawCell(lx::TlxLabelObjectManager& list)
{
    list.SetDpiX(kTenPerMm);
    list.SetDpiY(kTenPerMm);
    lx::Bitmap bitmap(static_cast<int>(list.GetLabelWidth() * 10), static_cast<int>(list.GetLabelHeight() * 10));
    lx::RasterDeviceContext canvas(bitmap);
    list.DrawObjects(canvas, false);
    return bitmap;
}

} // namespace lxtest
