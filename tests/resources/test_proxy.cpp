#include <gtest/gtest.h>

#include <memory>

#include "resources/registry_fixture.h"

TEST_F(RegistryTest, ProxyFollowsItsTargetWhileItLives) {
    tZObject* A = NewObject<tTestActor>();
    tZObject* B = NewObject<tTestActor>();
    tZObject* C = NewObject<tTestPlane>();
    std::unique_ptr<tProxy> OnC(C->AllocateProxy());
    std::unique_ptr<tProxy> OnB(Linker->CreateProxy(B));
    EXPECT_EQ(OnC->ObjectGUID, C->FGUID);

    // Earlier objects leave the graph: the targets move up and stay alive.
    tZObject::DisposeObject(A);
    EXPECT_TRUE(OnC->IsAlive());
    EXPECT_EQ(OnC->GetObject(), C);
    EXPECT_EQ(OnB->GetObject(), B);

    // Later objects do not disturb a proxy on the last one.
    tZObject* D = NewObject<tTestActor>();
    EXPECT_EQ(OnC->GetObject(), C);

    tZObject::DisposeObject(C);
    EXPECT_FALSE(OnC->IsAlive());
    EXPECT_EQ(OnC->GetObject(), nullptr);
    // A new object, possibly at the freed address, is not the old target.
    tZObject* E = NewObject<tTestPlane>();
    EXPECT_FALSE(OnC->IsAlive());
    EXPECT_TRUE(OnB->IsAlive());

    tZObject::DisposeObject(B);
    tZObject::DisposeObject(D);
    tZObject::DisposeObject(E);
    EXPECT_FALSE(OnB->IsAlive());
}
