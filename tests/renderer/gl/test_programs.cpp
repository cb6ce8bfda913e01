// GLSL programs compiled from files and fed the engine's uniforms, and
// occlusion queries counting the samples of a draw.

#include <gtest/gtest.h>

#include "kernel/renderer/opengl/glerror.h"
#include "kernel/renderer/opengl/hlslprogram.h"
#include "kernel/renderer/opengl/occlusionquery.h"
#include "renderer/gl/glfixture.h"

namespace {

constexpr const char* VertexSource =
    "void main() {\n"
    "    gl_TexCoord[0] = gl_MultiTexCoord0;\n"
    "    gl_Position = ftransform();\n"
    "}\n";

// Declares local0, DeltaTex, InvModelView and the sampler Texture1, nothing
// else the engine feeds.
constexpr const char* FragmentSource =
    "uniform vec4 local0;\n"
    "uniform vec4 DeltaTex;\n"
    "uniform mat4 InvModelView;\n"
    "uniform sampler2D Texture1;\n"
    "void main() {\n"
    "    gl_FragColor = local0 + DeltaTex + InvModelView[3] + texture2D(Texture1, gl_TexCoord[0].st);\n"
    "}\n";

class ProgramTest : public GLTest {
protected:
    void WriteShaders(const std::string& Fragment) {
        Work.WriteFile("Data/Shaders/test.vert", VertexSource);
        Work.WriteFile("Data/Shaders/test.frag", Fragment);
        Remap();
    }
    static TVector4 Uniform(const tHLSLProgram& P, GLint Location) {
        TVector4 V;
        glGetUniformfvARB(P.ProgramID, Location, &V.x);
        return V;
    }
};

}  // namespace

TEST_F(ProgramTest, LinkedProgramLocatesItsUniformsAndIsFedTheirValues) {
    WriteShaders(FragmentSource);
    tHLSLProgram Program;
    Program.LoadVertexShaderFromFile("Shaders\\test.vert");
    Program.LoadFragmentShaderFromFile("Shaders\\test.frag");
    Program.Compile();
    EXPECT_GE(Program.uLocals[0], 0);
    EXPECT_EQ(Program.uLocals[1], -1);
    EXPECT_GE(Program.uDeltaTex, 0);
    EXPECT_EQ(Program.uCameraPos, -1);
    EXPECT_EQ(Program.Texture0, -1);
    ASSERT_GE(Program.Texture1, 0);

    Program.SetLocalParam(0, {0.25f, 0.5f, 0.75f, 1});
    Program.SetLocalParam(3, {1, 1, 1, 1});  // the last index there is
    Program.SetDeltaTex({0.125f, 0, 0, 0});
    // Without a world the camera's view is the identity: the inverse of the
    // model view undoes the model's translation.
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1, 2, 3);
    Program.UseProgram();
    glLoadIdentity();
    TMatrix4 Inverse;
    glGetUniformfvARB(Program.ProgramID, Program.uInvModelView, Inverse.data());
    EXPECT_EQ(Vector3(Inverse[12], Inverse[13], Inverse[14]), Vector3(-1, -2, -3));
    EXPECT_EQ(Uniform(Program, Program.uLocals[0]), (TVector4{0.25f, 0.5f, 0.75f, 1}));
    EXPECT_EQ(Uniform(Program, Program.uDeltaTex), (TVector4{0.125f, 0, 0, 0}));
    GLint Unit = -1;
    glGetUniformivARB(Program.ProgramID, Program.Texture1, &Unit);
    EXPECT_EQ(Unit, 1);
    glUseProgramObjectARB(0);

    EXPECT_EXIT(Program.SetLocalParam(4, {}), ::testing::ExitedWithCode(255), "Invalid Local index");
}

TEST_F(ProgramTest, SourcesThatDoNotCompileOrLinkEndTheProgram) {
    WriteShaders("void main() { gl_FragColor = vec4(1.0) }\n");
    EXPECT_EXIT(tHLSLProgram().LoadFragmentShaderFromFile("Shaders\\test.frag"), ::testing::ExitedWithCode(255),
                "Shader wasn't compiled");
    WriteShaders("vec4 Missing();\nvoid main() { gl_FragColor = Missing(); }\n");
    EXPECT_EXIT(
        {
            tHLSLProgram Program;
            Program.LoadFragmentShaderFromFile("Shaders\\test.frag");
            Program.Compile();
        },
        ::testing::ExitedWithCode(255), "Shader wasn't linked");
}

TEST_F(ProgramTest, OcclusionQueryCountsTheSamplesOfItsDraw) {
    auto* Query = NewObject<tOCFeedbackContext>();
    EXPECT_TRUE(glIsQueryARB(Query->GetID()) == GL_FALSE);
    // Nothing was counted yet: no samples and no OpenGL error.
    EXPECT_EQ(Query->GetQueryStatus(), 0);
    EXPECT_TRUE(Query->IsQueryReady());

    glBeginQueryARB(GL_SAMPLES_PASSED_ARB, Query->GetID());
    glRecti(10, 10, 20, 20);  // 10 x 10 pixels
    glEndQueryARB(GL_SAMPLES_PASSED_ARB);
    EXPECT_EQ(Query->GetQueryStatus(), 100);
    tZObject::DisposeObject(Query);
}

TEST_F(ProgramTest, PendingOpenGLErrorsEndTheProgramWithTheirName) {
    CheckGLError();  // nothing pending
    EXPECT_EXIT(
        {
            glEnable(0xFFFF);
            CheckGLError();
        },
        ::testing::ExitedWithCode(255), "OpenGL error: 1280 \\(GL_INVALID_ENUM\\)");
}
