#include "libraries/classes/feedbackcontext.h"

Z_IMPLEMENT_CLASS(tFeedbackContext, .Operations = {{"SetFeedback"}, {"Feedback"}, {"SetID"}, {"GetID"}})
Z_IMPLEMENT_CLASS(tQueryFeedbackContext,
                  .Operations = {{"IsQueryReady", ZOP_ABSTRACT}, {"GetQueryStatus", ZOP_ABSTRACT}})
