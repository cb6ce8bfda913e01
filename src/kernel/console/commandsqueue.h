#pragma once
// Command lines deferred to later frames: a fixed ring of 100 slots holding at
// most 99 pending lines, run one per frame.

#include <cstdint>

#include "kernel/core/shortstring.h"
#include "kernel/objects/zobject.h"

class tCommandsQueue : public tZObject {
    Z_DECLARE_CLASS(tCommandsQueue, tZObject)
public:
    static constexpr int32_t Capacity = 100;  // slots; one stays free

    tCommandsQueue();
    // The oldest pending line; fatal on an empty queue.
    virtual ShortString GetString();
    virtual bool IsEmpty();
    // Queues a line; a full queue refuses it with a warning and returns false.
    virtual bool PutString(const ShortString& Line);
    // Runs one pending line through the console, if there is one.
    virtual void ProcessQueue();

private:
    ShortString Queue[Capacity];  // slots 1..100 seen from outside
    int32_t Head = Capacity;      // slot the next put writes
    int32_t Tail = Capacity;      // slot the next get reads
};
