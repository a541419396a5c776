#pragma once
// Makes a table row's bridge entry from the operation's own C++ signature: each parameter type
// gives its kind and the way an Argument becomes that parameter (and, for a var parameter, goes
// back into the Argument after the call).
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "exports/ExportTable.h"
#include "framework/DateTime.h"

namespace orb::exports::detail {

using fw::Variant;

template <class T>
struct Param;  // only the host's parameter kinds have one

// Text in: an absent value reads as the empty text.
template <>
struct Param<const std::string&> {
    static constexpr ParamKind kind = ParamKind::Text;
    std::string value;
    explicit Param(Argument& a) : value(a.value.ToString()) {}
    const std::string& Get() { return value; }
    void WriteBack(Argument&) {}
};
template <>
struct Param<std::string> : Param<const std::string&> {
    using Param<const std::string&>::Param;
};
template <>
struct Param<std::string&> {
    static constexpr ParamKind kind = ParamKind::TextVar;
    std::string value;
    explicit Param(Argument& a) : value(a.value.ToString()) {}
    std::string& Get() { return value; }
    void WriteBack(Argument& a) { a.value = value; }
};

template <class Scalar>
struct ScalarConvert {
    static Scalar From(const Variant& v) {
        if constexpr (std::is_same_v<Scalar, bool>)
            return v.ToBool();
        else if constexpr (std::is_same_v<Scalar, double>)
            return v.ToDouble();
        else if constexpr (std::is_same_v<Scalar, fw::TDateTime>)
            return v.ToDateTime();
        else if constexpr (std::is_same_v<Scalar, int>)
            return v.ToInt();
        else
            return static_cast<Scalar>(v.ToInt());
    }
    static Variant To(Scalar s) {
        if constexpr (std::is_same_v<Scalar, bool> || std::is_same_v<Scalar, double> ||
                      std::is_same_v<Scalar, fw::TDateTime>)
            return Variant(s);
        else
            return Variant(static_cast<std::int64_t>(s));
    }
};

#define ORB_SCALAR_PARAM(Type, In, Var)                                            \
    template <>                                                                    \
    struct Param<Type> {                                                           \
        static constexpr ParamKind kind = ParamKind::In;                           \
        Type value;                                                                \
        explicit Param(Argument& a) : value(ScalarConvert<Type>::From(a.value)) {} \
        Type Get() { return value; }                                               \
        void WriteBack(Argument&) {}                                               \
    };                                                                             \
    template <>                                                                    \
    struct Param<Type&> {                                                          \
        static constexpr ParamKind kind = ParamKind::Var;                          \
        Type value;                                                                \
        explicit Param(Argument& a) : value(ScalarConvert<Type>::From(a.value)) {} \
        Type& Get() { return value; }                                              \
        void WriteBack(Argument& a) { a.value = ScalarConvert<Type>::To(value); }  \
    };

ORB_SCALAR_PARAM(int, Integer, IntegerVar)
ORB_SCALAR_PARAM(unsigned char, Integer, IntegerVar)
ORB_SCALAR_PARAM(double, Double, DoubleVar)
ORB_SCALAR_PARAM(bool, Bool, BoolVar)
ORB_SCALAR_PARAM(fw::TDateTime, DateTime, DateTimeVar)
#undef ORB_SCALAR_PARAM

// Variants travel as they are: the operation sees (and changes) the argument itself.
template <>
struct Param<const Variant&> {
    static constexpr ParamKind kind = ParamKind::Variant;
    Argument& arg;
    explicit Param(Argument& a) : arg(a) {}
    const Variant& Get() { return arg.value; }
    void WriteBack(Argument&) {}
};
template <>
struct Param<Variant&> {
    static constexpr ParamKind kind = ParamKind::VariantVar;
    Argument& arg;
    explicit Param(Argument& a) : arg(a) {}
    Variant& Get() { return arg.value; }
    void WriteBack(Argument&) {}
};

// Open arrays come as a variant array; anything else is an empty array.
template <>
struct Param<std::span<const Variant>> {
    static constexpr ParamKind kind = ParamKind::VariantOpenArray;
    Argument& arg;
    explicit Param(Argument& a) : arg(a) {}
    std::span<const Variant> Get() {
        if (!arg.value.IsArray()) return {};
        return arg.value.AsArray();
    }
    void WriteBack(Argument&) {}
};
template <>
struct Param<std::span<const std::string>> {
    static constexpr ParamKind kind = ParamKind::TextOpenArray;
    std::vector<std::string> texts;
    explicit Param(Argument& a) {
        if (a.value.IsArray())
            for (const Variant& v : a.value.AsArray()) texts.push_back(v.ToString());
    }
    std::span<const std::string> Get() { return texts; }
    void WriteBack(Argument&) {}
};

// String lists and tables: the argument's own object (null when the host passed none). A var
// parameter the operation pointed elsewhere comes back as a copy of what it points to: the
// object is the operation's, not the caller's to free.
template <class Object>
void CopyInto(std::unique_ptr<Object>& target, Object* source) {
    if (source == target.get()) return;
    if (source == nullptr) {
        target.reset();
        return;
    }
    auto copy = std::make_unique<Object>();
    if constexpr (std::is_same_v<Object, fw::StringList>)
        copy->Lines() = source->Lines();
    else
        copy->SetData(source->Data());
    target = std::move(copy);
}

template <>
struct Param<fw::StringList*> {
    static constexpr ParamKind kind = ParamKind::StringList;
    fw::StringList* value;
    explicit Param(Argument& a) : value(a.strings.get()) {}
    fw::StringList* Get() { return value; }
    void WriteBack(Argument&) {}
};
template <>
struct Param<fw::StringList*&> {
    static constexpr ParamKind kind = ParamKind::StringListVar;
    fw::StringList* value;
    explicit Param(Argument& a) : value(a.strings.get()) {}
    fw::StringList*& Get() { return value; }
    void WriteBack(Argument& a) { CopyInto(a.strings, value); }
};
template <>
struct Param<fw::ClientDataSet*> {
    static constexpr ParamKind kind = ParamKind::DataSet;
    fw::ClientDataSet* value;
    explicit Param(Argument& a) : value(a.table.get()) {}
    fw::ClientDataSet* Get() { return value; }
    void WriteBack(Argument&) {}
};
template <>
struct Param<fw::ClientDataSet*&> {
    static constexpr ParamKind kind = ParamKind::DataSetVar;
    fw::ClientDataSet* value;
    explicit Param(Argument& a) : value(a.table.get()) {}
    fw::ClientDataSet*& Get() { return value; }
    void WriteBack(Argument& a) { CopyInto(a.table, value); }
};

template <class R>
struct Result;
template <>
struct Result<void> {
    static constexpr ResultKind kind = ResultKind::None;
};
template <>
struct Result<bool> {
    static constexpr ResultKind kind = ResultKind::Bool;
};
template <>
struct Result<std::string> {
    static constexpr ResultKind kind = ResultKind::Text;
};
template <>
struct Result<int> {
    static constexpr ResultKind kind = ResultKind::Integer;
};
template <>
struct Result<double> {
    static constexpr ResultKind kind = ResultKind::Double;
};
template <>
struct Result<fw::TDateTime> {
    static constexpr ResultKind kind = ResultKind::DateTime;
};
template <>
struct Result<Variant> {
    static constexpr ResultKind kind = ResultKind::Variant;
};

template <class R, class... P, std::size_t... I>
Variant Call(R (*fn)(P...), std::vector<Argument>& args, std::index_sequence<I...>) {
    std::tuple<Param<P>...> params{Param<P>(args[I])...};
    // A var parameter changed before the operation raised keeps the change, as a reference
    // parameter would.
    auto writeBack = [&] { (std::get<I>(params).WriteBack(args[I]), ...); };
    Variant result;
    try {
        if constexpr (std::is_void_v<R>)
            fn(std::get<I>(params).Get()...);
        else
            result = Variant(fn(std::get<I>(params).Get()...));
    } catch (...) {
        writeBack();
        throw;
    }
    writeBack();
    return result;
}

template <class R, class... P>
Operation MakeOperation(const char* name, ExportKind exportKind, R (*fn)(P...)) {
    Operation op;
    op.name = name;
    op.exportKind = exportKind;
    op.params = {Param<P>::kind...};
    op.result = Result<R>::kind;
    op.invoke = [fn, name = std::string(name)](std::vector<Argument>& args) -> Variant {
        if (args.size() != sizeof...(P))
            throw std::invalid_argument(name + " takes " + std::to_string(sizeof...(P)) + " arguments, " +
                                        std::to_string(args.size()) + " given");
        return Call(fn, args, std::index_sequence_for<P...>{});
    };
    return op;
}

}  // namespace orb::exports::detail
