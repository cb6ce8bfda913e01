#pragma once
// Descriptions of native data that script code can reach: a field knows where
// its value lives, how large it is and of which kind; a structure is a field
// made of other fields.

#include <cstdint>
#include <memory>

#include "kernel/objects/lists.h"
#include "kernel/objects/zobject.h"

enum tNativeType : int32_t {
    NT_LONGINT = 0,
    NT_FLOAT = 1,
    NT_DOUBLE = 2,
    NT_BOOLEAN = 3,
    NT_STRING = 4,
    NT_ARRAY = 5,
    NT_STRUCT = 6,
};

class tNativeField : public tZObject {
    Z_DECLARE_CLASS(tNativeField, tZObject)
public:
    virtual void* GetFieldPtr() = 0;
    virtual int32_t GetFieldSize() = 0;
    virtual tNativeType GetFieldType() = 0;
};

class tNativeFieldsList : public tList {
public:
    tNativeFieldsList() : tList("tNativeField") {}
};

class tNativeStruct : public tNativeField {
    Z_DECLARE_CLASS(tNativeStruct, tNativeField)
public:
    tNativeType GetFieldType() override { return NT_STRUCT; }

    // None until the owner of the description creates it. The list goes with
    // the structure; the field objects on it belong to whoever created them.
    std::unique_ptr<tNativeFieldsList> Fields;
};
