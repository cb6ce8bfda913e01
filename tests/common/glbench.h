#pragma once
// For benchmarks that draw through the real OpenGL render device on the
// current (offscreen) context: the engine's services over a data directory
// whose content folders are the repository's own, the device with its frame,
// a vertex-array manager and the resources manager, and a perspective camera
// that the perspective shaders pick up.

#include <GL/glu.h>

#include <filesystem>
#include <initializer_list>

#include "common/scriptenv.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/opengl/frame.h"
#include "kernel/renderer/opengl/oglrenderdevice.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/resources/resourcesmanager.h"

// The repository whose Data/ the benchmarks draw (set by the build).
inline const std::filesystem::path GLBenchRepository = HALVARDINE_SOURCE_DIR;

template <class TManager>
class tGLDeviceBench : public ScriptTest {
public:
    // Data/<Folder> of the repository for each of Folders.
    explicit tGLDeviceBench(std::initializer_list<const char*> Folders) {
        SetUp();
        for (const char* Folder : Folders)
            std::filesystem::create_directory_symlink(GLBenchRepository / "Data" / Folder, std::filesystem::path("Data") / Folder);
        MapData();
        Device = NewObject<tOGLRenderDevice>();
        Engine->Renderer = Device;
        Device->DefaultFrame = NewObject<tFrame>();
        Manager = NewObject<TManager>();
        Resources = NewObject<tZResourcesManager>();
        Device->EmptyShader = Resources->LoadShader(tOGLRenderDevice::EmptyShaderName);
    }
    ~tGLDeviceBench() override {
        tZObject::DisposeObject(Resources);
        tZObject::DisposeObject(Manager);
        if (Device->GeometryServer) tZObject::DisposeObject(Device->GeometryServer);
        tZObject::DisposeObject(Device->DefaultFrame);
        Engine->Renderer = nullptr;
        tZObject::DisposeObject(Device);
        TearDown();
    }
    void TestBody() override {}

    // Looks from Eye at Target, z up, through a perspective of FieldOfView
    // degrees onto a Width x Height picture.
    void LookAt(const TVector3& Eye, const TVector3& Target, int Width, int Height, double FieldOfView,
                double NearPlane, double FarPlane) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(FieldOfView, double(Width) / Height, NearPlane, FarPlane);
        glGetFloatv(GL_PROJECTION_MATRIX, Device->CurrentPerspective.data());
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(Eye.x, Eye.y, Eye.z, Target.x, Target.y, Target.z, 0, 0, 1);
    }

    tOGLRenderDevice* Device = nullptr;
    tVertexArrayManager* Manager = nullptr;
};
