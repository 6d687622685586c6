#include "SymbolTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>

#include "designer/model/MatrixelPro.h"
#include "platform/com/ComClient.h"
#include "platform/image/Graphic.h"
#include "support/TestPaths.h"
#include "symbol/control/MatrixelProIds.h"

namespace lxtest {

namespace {

// The control library of this build, registered for the whole test run.
class SymbolControlEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        folder_ = std::make_unique<TempDir>();
        if (const char* old = std::getenv("LX_REGISTRY_FILE"))
            previous_ = old;
        ::setenv("LX_REGISTRY_FILE", folder_->File("registry.txt").c_str(), 1);
        ASSERT_EQ(lx::RegisterServerLibrary(BuildPath("symbol/control/libMatrixelPro.so")), lx::kOk);
    }
    void TearDown() override
    {
        if (previous_)
            ::setenv("LX_REGISTRY_FILE", previous_->c_str(), 1);
        else
            ::unsetenv("LX_REGISTRY_FILE");
        folder_.reset();
    }

private:
    std::unique_ptr<TempDir> folder_;
    std::optional<std::string> previous_;
};

[[maybe_unused]] testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new SymbolControlEnvironment);

std::string MemberName(lx::DispId id)
{
    static const std::map<lx::DispId, std::string> names = {
        {lx::kDispAutoRedraw, "AutoRedraw"},
        {lx::kDispInputData, "InputData"},
        {lx::kDispModelNo, "ModelNo"},
        {lx::kDispEccLevel, "EccLevel"},
        {lx::kDispChkDigit, "ChkDigit"},
        {lx::kDispCodeType, "CodeType"},
        {lx::kDispOptITF, "OptITF"},
        {lx::kDispOptCODE128, "OptCODE128"},
        {lx::kDispMaxiCodeMode, "MaxiCodeMode"},
        {lx::kDispPDF417Model, "PDF417Model"},
        {lx::kDispDmxModel, "DmxModel"},
        {lx::kDispIdRefresh, "Refresh"},
        {lx::kDispQrImageCopy, "QrImageCopy"},
    };
    const auto found = names.find(id);
    if (found != names.end())
        return found->second;
    std::string unknown = "#"; // appended: GCC 12 warns on "#" + std::string
    return unknown.append(std::to_string(id));
}

std::string ValueText(const lx::Variant& value)
{
    switch (value.Type()) {
    case lx::VarType::Int16: return std::to_string(value.AsInt16());
    case lx::VarType::Int32: return std::to_string(value.AsInt32());
    case lx::VarType::String: return value.AsString().ToCp932();
    default: return "?";
    }
}

struct RecorderState {
    ControlCalls calls;
    std::map<std::string, int> failures;
    int made = 0;
};
RecorderState* state = nullptr;

class RecordingControl : public lx::ComImplementation<lx::Dispatch> {
public:
    explicit RecordingControl(lx::ComPtr<lx::Dispatch> target) : target_(std::move(target)) {}

    lx::HResult GetIdOfName(std::string_view name, lx::DispId* id) override { return target_->GetIdOfName(name, id); }
    lx::HResult Invoke(lx::DispId id, std::uint16_t flags, std::span<const lx::Variant> args, lx::Variant* result,
                       lx::DispatchException* exception) override
    {
        const std::string name = MemberName(id);
        std::string call = name;
        if ((flags & lx::kInvokePropertyPut) && args.size() == 1)
            call.append("=").append(ValueText(args[0]));
        else if (!args.empty())
            call.append("(").append(ValueText(args[0])).append(")");
        if (state) {
            state->calls.push_back(call);
            if (int& left = state->failures[name]; left > 0) {
                --left;
                return lx::kFail;
            }
        }
        return target_->Invoke(id, flags, args, result, exception);
    }

private:
    lx::ComPtr<lx::Dispatch> target_;
};

lx::ComPtr<lx::Dispatch> MakeRecordingControl()
{
    if (state)
        ++state->made;
    return lx::ComPtr<lx::Dispatch>::Attach(new RecordingControl(lx::CreateSymbolControl()));
}

lx::ComPtr<lx::Dispatch> MakeNoControl() { return {}; }

} // namespace

ControlRecorder::ControlRecorder()
{
    state = new RecorderState;
    lx::SetSymbolControlMaker(&MakeRecordingControl);
}

ControlRecorder::~ControlRecorder()
{
    lx::SetSymbolControlMaker(nullptr);
    delete std::exchange(state, nullptr);
}

const ControlCalls& ControlRecorder::Calls() const { return state->calls; }
void ControlRecorder::Clear() { state->calls.clear(); }
void ControlRecorder::FailNext(const std::string& member, int times) { state->failures[member] = times; }
int ControlRecorder::ControlsMade() const { return state->made; }

void ExpectCloneRendersOnceOnItsOwnControl(const lx::TLxLableObjectBase& object)
{
    const ControlRecorder recorder;
    const auto clone = object.Clone();
    EXPECT_EQ(recorder.ControlsMade(), 1);
    EXPECT_EQ(std::count(recorder.Calls().begin(), recorder.Calls().end(), "QrImageCopy(1)"), 1);
}

NoControl::NoControl() { lx::SetSymbolControlMaker(&MakeNoControl); }
NoControl::~NoControl() { lx::SetSymbolControlMaker(nullptr); }

} // namespace lxtest
