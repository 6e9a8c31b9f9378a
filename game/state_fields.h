// Fields of a state record by name, for the script driver and for tests: the play state's here,
// and the same kind of table for the records of the other parts (the field's drawing, the menu,
// the settings).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/game_state.h"

namespace lumcrest {

struct FieldRef {
    enum class Kind { Int, Flag, Byte, Text };
    Kind kind;
    void* address;

    // The value as the driver prints it (flags as 0 or 1).
    std::string text() const;
    // Sets an integer or flag field from VALUE; false when VALUE does not fit the field.
    bool assign(long long value) const;
};

// The index that follows BASE in NAME ("Shape12" after "Shape" is 12), when it lies in
// FIRST..LAST and is written without leading zeros.
std::optional<int> fieldIndex(std::string_view name, std::string_view base, int first, int last);

// The named fields of one kind of record: scalars, and integer arrays named with their index.
template <class Record>
struct FieldTable {
    struct Scalar {
        const char* name;
        FieldRef::Kind kind;
        void* (*get)(Record&);
    };
    struct Array {
        const char* name;
        int first, last;
        int* (*get)(Record&);
    };
    std::vector<Scalar> scalars;
    std::vector<Array> arrays;

    std::optional<FieldRef> find(Record& record, std::string_view name) const {
        for (const Scalar& s : scalars)
            if (name == s.name) return FieldRef{s.kind, s.get(record)};
        for (const Array& a : arrays)
            if (auto i = fieldIndex(name, a.name, a.first, a.last))
                return FieldRef{FieldRef::Kind::Int, a.get(record) + *i};
        return std::nullopt;
    }
};

// A row of a FieldTable<Record> for its member F, of kind K (Int, Flag, Byte or Text).
#define LUMCREST_FIELD(Record, K, f)                                    \
    {                                                                   \
#f, FieldRef::Kind::K, [](Record & r) -> void* { return &r.f; } \
    }
#define LUMCREST_ARRAY(Record, f, first, last)                  \
    {                                                           \
#f, first, last, [](Record & r) -> int* { return r.f; } \
    }

// The play state's field called NAME ("Stage", "Shape1", "backgroundHistory0", ...), or nothing.
std::optional<FieldRef> findField(GameState& state, std::string_view name);

}  // namespace lumcrest
