#pragma once
// Feedback contexts carry a result back to whoever asked for it: an identifier
// and a callback that receives the sending object. Query contexts add a
// result that the GPU delivers later (an occlusion query's sample count).

#include <cstdint>
#include <functional>

#include "kernel/objects/zobject.h"

class tFeedbackContext : public tZObject {
    Z_DECLARE_CLASS(tFeedbackContext, tZObject)
public:
    using tFeedbackProc = std::function<void(tZObject* Sender)>;

    virtual void SetFeedback(tFeedbackProc Proc) { FeedbackProc = std::move(Proc); }
    // Calls the callback, when one is set, with Sender.
    virtual void Feedback(tZObject* Sender) {
        if (FeedbackProc) FeedbackProc(Sender);
    }
    virtual void SetID(uint32_t ID) { ContextID = ID; }
    virtual uint32_t GetID() { return ContextID; }

    tFeedbackProc FeedbackProc;
    uint32_t ContextID = 0;
};

class tQueryFeedbackContext : public tFeedbackContext {
    Z_DECLARE_CLASS(tQueryFeedbackContext, tFeedbackContext)
public:
    virtual bool IsQueryReady() = 0;
    virtual int32_t GetQueryStatus() = 0;
};
