#pragma once
// Weak references to engine objects. A proxy remembers its target's identifier
// and answers whether the target still lives; it never keeps it alive. The
// proxy belongs to whoever asked for it and is freed with delete.

#include <cstdint>

class tZObject;
class tObjectsLinker;

class tProxy {
public:
    explicit tProxy(const tZObject* Obj);
    virtual ~tProxy() = default;
    tProxy(const tProxy&) = delete;
    tProxy& operator=(const tProxy&) = delete;

    virtual bool IsAlive() = 0;
    // The target while it lives, nullptr afterwards.
    virtual tZObject* GetObject() = 0;

    int64_t ObjectGUID;
};

// Finds its target on the registry's object graph by identifier. The graph
// position is only a first guess, refreshed whenever earlier objects left.
class tObjectProxy : public tProxy {
public:
    tObjectProxy(tZObject* Obj, tObjectsLinker* Linker);

    bool IsAlive() override;
    tZObject* GetObject() override;

    tObjectsLinker* LocalLinker;
    int32_t IndexOnObjectsGraph = -1;  // 1-based
};
