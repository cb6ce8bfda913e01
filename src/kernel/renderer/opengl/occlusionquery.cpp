#include "kernel/renderer/opengl/occlusionquery.h"

#include "kernel/renderer/globjects.h"
#include "kernel/renderer/va/vagl.h"

Z_IMPLEMENT_CLASS(tOCFeedbackContext, .Operations = {{"IsQueryReady"}, {"GetQueryStatus"}},
                  .Published = {ZPublished<&tOCFeedbackContext::ContextRebuilt>(
                      tOCFeedbackContext::ContextRebuiltMethod)})

tOCFeedbackContext::tOCFeedbackContext() { ContextRebuilt(); }

void tOCFeedbackContext::ContextRebuilt() {
    // The previous query went with the previous context.
    if (GetID() != 0) tGLObjects::Deleted();
    GLuint Query = 0;
    glGenQueriesARB(1, &Query);
    tGLObjects::Made();
    SetID(Query);
}

tOCFeedbackContext::~tOCFeedbackContext() {
    const GLuint Query = GetID();
    glDeleteQueriesARB(1, &Query);
    tGLObjects::Deleted();
}

// A query no draw has counted into yet has no result: 0 samples, and no
// OpenGL error to end the frame with.
int32_t tOCFeedbackContext::GetQueryStatus() {
    if (!glIsQueryARB(GetID())) return 0;
    GLint Samples = 0;
    glGetQueryObjectivARB(GetID(), GL_QUERY_RESULT_ARB, &Samples);
    return Samples;
}
