// Record descriptions: each record type of the game is described once, field by field, by name,
// place and kind, next to its definition (the fields.h of its folder). The state dump reads every
// record through these lists, so a new field is one more line in its record's list; a list that
// misses a field, or names one twice or out of order, does not compile (RecordFields checks that
// the fields cover the record from its first byte to its last, in declared order).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

enum FieldKind : uint8_t {
    FIELD_I32,       // int32_t, written as a number
    FIELD_U8,        // uint8_t
    FIELD_U32,       // uint32_t
    FIELD_F32,       // float, written as a number
    FIELD_F32_BITS,  // float, written as the int32_t of its bits
};

struct Field {
    const char* name;
    size_t offset;
    FieldKind kind;
    int count;  // more than 1 for an array member
};

// How a record is written: as an object of named fields, or as an array of its values in
// declared order (array members flattened).
enum RecordShape : uint8_t { RECORD_OBJECT, RECORD_VALUES };

struct RecordFields {
    std::span<const Field> fields;
    size_t size;
    RecordShape shape;
};

constexpr size_t FieldKindSize(FieldKind kind) { return kind == FIELD_U8 ? 1 : 4; }

// True when the fields follow one another without gap or overlap and end at the record's end.
constexpr bool CoversRecord(std::span<const Field> fields, size_t size) {
    size_t next = 0;
    for (const Field& f : fields) {
        if (f.offset != next) return false;
        next += FieldKindSize(f.kind) * static_cast<size_t>(f.count);
    }
    return next == size;
}

// One line of a field list: FIELD(Record, member, KIND) or FIELD_ARRAY(Record, member, KIND, n).
#define FIELD(Record, member, kind) \
    Field { #member, offsetof(Record, member), FIELD_##kind, 1 }
#define FIELD_ARRAY(Record, member, kind, n) \
    Field { #member, offsetof(Record, member), FIELD_##kind, n }

// x, y, width, height: how every record placed on the field begins.
#define BOX_FIELDS(Record) FIELD(Record, x, I32), FIELD(Record, y, I32), FIELD(Record, width, I32), FIELD(Record, height, I32)

// The description of Record from its list, checked while compiling.
#define RECORD_FIELDS(Record, list, shape)     \
    RecordFields{list, sizeof(Record), shape}; \
    static_assert(CoversRecord(list, sizeof(Record)), #Record ": its field list must name every field once, in order")
