#include "kernel/console/commandsqueue.h"

#include "kernel/console/ring.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "libraries/classes/console.h"

Z_IMPLEMENT_CLASS(tCommandsQueue, .Operations = {{"GetString"}, {"IsEmpty"}, {"PutString"}, {"ProcessQueue"}})

tCommandsQueue::tCommandsQueue() = default;

ShortString tCommandsQueue::GetString() {
    ProcTrace trace("tCommandsQueue.GetString()");
    Logger->Guard(!IsEmpty(), "Queue is empty");
    ShortString line = Queue[Tail - 1];
    Tail = RingSlotBelow(Tail, Capacity);
    return line;
}

bool tCommandsQueue::IsEmpty() { return Head == Tail; }

bool tCommandsQueue::PutString(const ShortString& Line) {
    // One more line would make Head meet Tail, and the queue would read empty.
    if (RingSlotBelow(Head, Capacity) == Tail) {
        Warning->Log("WARNING: command queue is full, line dropped: " + Line);
        return false;
    }
    Queue[Head - 1] = Line;
    Head = RingSlotBelow(Head, Capacity);
    return true;
}

void tCommandsQueue::ProcessQueue() {
    if (IsEmpty()) return;
    Console->SendCommand(GetString(), true);
}
