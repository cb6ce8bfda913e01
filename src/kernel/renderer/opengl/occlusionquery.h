#pragma once
// An occlusion query of its own: whoever draws an occluder brackets the draw
// with glBeginQueryARB / glEndQueryARB on GetID and reads the number of
// samples that passed with GetQueryStatus.

#include "libraries/classes/feedbackcontext.h"

class tOCFeedbackContext : public tQueryFeedbackContext {
    Z_DECLARE_CLASS(tOCFeedbackContext, tQueryFeedbackContext)
public:
    // Needs a current OpenGL context, as the destructor does.
    tOCFeedbackContext();
    ~tOCFeedbackContext() override;

    // Reading the status waits for the result, so it is always ready.
    bool IsQueryReady() override { return true; }
    int32_t GetQueryStatus() override;

    // Published: a rebuilt rendering context has none of the old context's
    // queries, so each takes a new one there.
    static constexpr const char* ContextRebuiltMethod = "ContextRebuilt";
    void ContextRebuilt();
};
