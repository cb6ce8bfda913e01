#pragma once
// A small fixed map from names to handlers: the shader script's section
// paths to the handlers of their parameters.

#include <cstdint>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/shortstring.h"

template <class THandler>
class tMapArray {
public:
    static constexpr int32_t MaxKeys = 100;

    void SetKey(const ShortString& Name, THandler Handler) {
        Logger->Guard(Count < MaxKeys, "Map array exceeded maximal number of keys");
        Keys[Count++] = {Name, Handler};
    }
    // The handler of exactly Name, or nullptr.
    THandler GetKey(const ShortString& Name) const {
        for (int32_t I = 0; I < Count; ++I)
            if (Keys[I].Name == Name) return Keys[I].Handler;
        return nullptr;
    }
    int32_t GetCount() const { return Count; }

private:
    struct TKey {
        ShortString Name;
        THandler Handler = nullptr;
    };
    TKey Keys[MaxKeys];
    int32_t Count = 0;
};
