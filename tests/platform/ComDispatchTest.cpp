// The dispatch layer: a member table drives Invoke (argument conversion,
// counts, read-only and write-only members, raised exceptions), and the host's
// driver turns every failure into a DispatchError.
#include <gtest/gtest.h>

#include "platform/com/DispatchTable.h"
#include "platform/com/Persistence.h"

using namespace lx;

namespace {

class Counter final : public ComImplementation<Dispatch> {
public:
    HResult GetIdOfName(std::string_view name, DispId* id) override { return FindMemberId(Table(), name, id); }
    HResult GetTypeInfo(std::vector<MemberInfo>* members) override { return ListMembers(Table(), members); }
    HResult Invoke(DispId id, std::uint16_t flags, std::span<const Variant> args, Variant* result,
                   DispatchException* exception) override
    {
        return InvokeMember(*this, Table(), id, flags, args, result, exception);
    }

    static inline int alive = 0;
    Counter() { ++alive; }
    ~Counter() override { --alive; }

private:
    Variant GetValue(DispId) { return Variant(value_); }
    void PutValue(DispId, const Variant& v)
    {
        if (v.AsInt16() < 0)
            throw DispatchFault{ControlErrorStatus(1000), "Value >= 0"};
        value_ = v.AsInt16();
    }
    Variant Add(std::span<const Variant> args)
    {
        value_ = static_cast<std::int16_t>(value_ + args[0].AsInt16());
        return Variant(value_);
    }

    static std::span<const DispatchMember<Counter>> Table()
    {
        using M = DispatchMember<Counter>;
        static const M table[] = {
            {1, "Value", VarType::Int16, &Counter::GetValue, PutKind::Set, &Counter::PutValue},
            {2, "Shown", VarType::Int16, &Counter::GetValue, PutKind::Ignored},
            {3, "Fixed", VarType::Int16, &Counter::GetValue, PutKind::NotSupported},
            {4, "Secret", VarType::Int16, nullptr, PutKind::Set, &Counter::PutValue},
            [] {
                M m{5, "Add", VarType::Int16};
                m.call = &Counter::Add;
                m.params[0] = VarType::Int16;
                m.paramCount = 1;
                return m;
            }(),
        };
        return table;
    }

    std::int16_t value_ = 0;
};

HResult StatusOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const DispatchError& e) {
        return e.Status();
    }
    return kOk;
}

TEST(ComDispatch, TableDrivesInvoke)
{
    DispatchDriver d(ComPtr<Dispatch>::Attach(new Counter));
    d.Put(1, Variant::Text("12"));
    EXPECT_EQ(d.Get(1), Variant(std::int16_t{12}));
    EXPECT_EQ(d.Call(5, {Variant(3.0)}), Variant(std::int16_t{15}));
    EXPECT_EQ(d.IdOfName("add"), 5);

    EXPECT_EQ(StatusOf([&] { d.Put(1, Variant(-1)); }), ControlErrorStatus(1000));
    EXPECT_EQ(StatusOf([&] { d.Put(1, Variant(100000)); }), kOverflow);
    EXPECT_EQ(StatusOf([&] { d.Put(1, Variant::Text("x")); }), kTypeMismatch);
    EXPECT_EQ(StatusOf([&] { d.Put(2, Variant(7)); }), kOk);
    EXPECT_EQ(d.Get(2), Variant(std::int16_t{15}));
    EXPECT_EQ(StatusOf([&] { d.Put(3, Variant(7)); }), kSetNotSupported);
    EXPECT_EQ(StatusOf([&] { d.Get(4); }), kGetNotSupported);
    EXPECT_EQ(StatusOf([&] { d.Call(5); }), kBadParamCount);
    EXPECT_EQ(StatusOf([&] { d.Get(99); }), kMemberNotFound);
    EXPECT_EQ(StatusOf([&] { d.IdOfName("Nothing"); }), kUnknownName);

    DispatchException exception;
    Variant value(std::int16_t{-5});
    EXPECT_EQ(d.Target()->Invoke(1, kInvokePropertyPut, {&value, 1}, nullptr, &exception), kDispatchException);
    EXPECT_EQ(exception.status, ControlErrorStatus(1000));
    EXPECT_EQ(exception.description, "Value >= 0");
}

TEST(ComDispatch, ReferencesFreeTheObject)
{
    {
        ComPtr<Dispatch> a = ComPtr<Dispatch>::Attach(new Counter);
        EXPECT_EQ(Counter::alive, 1);
        ComPtr<Dispatch> b = a;
        ComPtr<ComUnknown> unknown = a.As<ComUnknown>();
        EXPECT_TRUE(unknown);
        EXPECT_FALSE(a.As<PersistStreamInit>());
        a.Reset();
        EXPECT_EQ(Counter::alive, 1);
    }
    EXPECT_EQ(Counter::alive, 0);
}

} // namespace
