#include <gtest/gtest.h>

#include "kernel/core/logger.h"
#include "resources/registry_fixture.h"

namespace {

// Its constructor stops with a fatal error once the object is on the graph.
class tFailingObject : public tZObject {
    Z_DECLARE_CLASS(tFailingObject, tZObject)
public:
    tFailingObject() { Logger->Fatal("Unable to build"); }
};

}  // namespace

Z_IMPLEMENT_CLASS(tFailingObject)

TEST_F(RegistryTest, ConstructorCutShortByAThrowingHaltHookLeavesNoObjectBehind) {
    RegisterTestClasses();
    SetHaltHook(ThrowingHaltHook);
    EXPECT_THROW(NewObject<tFailingObject>(), tFatalHalt);
    SetHaltHook(nullptr);
    EXPECT_EQ(Linker->ObjectsGraph().GetTotalItems(), 0);
}
