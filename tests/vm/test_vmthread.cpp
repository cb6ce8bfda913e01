// Programs assembled in the test run on the machine; results are read back from
// the block the test owns.

#include <cmath>
#include <cstring>

#include "vm/vm_fixture.h"

namespace {

using Stack = std::vector<double>;

class VMThreadTest : public VMTest {
protected:
    VMThreadTest() : VMTest(1024) {}  // 36 records, 128 cells
};

TEST_F(VMThreadTest, ArithmeticOnTheStackAndInMemory) {
    Prog.Emit(OP_PUSH, Imm(2));
    Prog.Emit(OP_PUSH, Imm(3));
    Prog.Emit(OP_ADD);              // 5
    Prog.Emit(OP_PUSH, Imm(1.5));
    Prog.Emit(OP_SUB);              // 5 - 1.5
    Prog.Emit(OP_INC);              // 4.5
    Prog.Emit(OP_PUSH, Imm(10));
    Prog.Emit(OP_DEC);              // 9
    Prog.Emit(OP_PUSH, Imm(7));
    Prog.Emit(OP_ADD, Mem(100));    // cell 100 += 7
    Prog.Emit(OP_PUSH, Imm(2));
    Prog.Emit(OP_SUB, Mem(100));    // cell 100 -= 2
    Prog.Emit(OP_INC, Mem(101));
    Prog.Emit(OP_DEC, Mem(102));
    Prog.Emit(OP_PUSH, Imm(4));
    Prog.Emit(OP_ADD, Imm(1));      // the sum lands in the temporary register, 4 is gone
    Prog.Emit(OP_INC, Imm(1));      // changes nothing but the temporary register
    Prog.Emit(OP_HLT);
    Prog.Data(100, 10);
    Prog.Data(101, 20);
    Prog.Data(102, 30);

    Prog.Load(*Machine);
    Machine->Execute(0, 2);
    EXPECT_EQ(Machine->GetMSW().SP, 128 - 2);  // the stack starts at the end of the block
    Machine->Execute(2, 1);
    EXPECT_EQ(Prog.Stack(*Machine), Stack{5});

    Machine->Execute(3, 1000);
    EXPECT_EQ(Prog.Stack(*Machine), (Stack{4.5, 9}));
    EXPECT_EQ(Prog.Cell(100), 15);
    EXPECT_EQ(Prog.Cell(101), 21);
    EXPECT_EQ(Prog.Cell(102), 29);
    EXPECT_EQ(Machine->GetMSW().TempRegister, 2);
    EXPECT_TRUE(Machine->GetMSW().Halted);
    EXPECT_EQ(Machine->GetMSW().IP, 18);
}

TEST_F(VMThreadTest, PushDuplicatesTheTopOrCopiesACell) {
    Prog.Emit(OP_PUSH, Imm(8));
    Prog.Emit(OP_PUSH);
    Prog.Emit(OP_PUSH, Mem(120));
    Prog.Emit(OP_HLT);
    Prog.Data(120, -3.25);
    EXPECT_EQ(Run(), (Stack{8, 8, -3.25}));
}

TEST_F(VMThreadTest, LessThanKeepsItsOperandAndPushesTheAnswer) {
    Prog.Emit(OP_PUSH, Imm(5));
    Prog.Emit(OP_PUSH, Imm(7));
    Prog.Emit(OP_LS);
    Prog.Emit(OP_HLT);
    EXPECT_EQ(Run(), (Stack{5, 7, 0}));

    VMProgram other(256);
    other.Emit(OP_PUSH, Imm(7));
    other.Emit(OP_PUSH, Imm(5));
    other.Emit(OP_LS);
    other.Emit(OP_LS, Imm(0.5));  // 1 < 0.5 is false
    other.Emit(OP_LS, Mem(31));   // 0 < cell 31 (= 2)
    other.Emit(OP_HLT);
    other.Data(31, 2);
    other.Load(*Machine);
    Machine->Execute(0, 100);
    EXPECT_EQ(other.Stack(*Machine), (Stack{7, 5, 1, 0, 1}));
}

// Runs "PUSH v; Jcc 4; PUSH 111; HLT; PUSH 222; HLT" and tells whether the jump was taken.
bool JumpTaken(int32_t JumpOp, double Value) {
    VMProgram prog(512);
    prog.Emit(OP_PUSH, Imm(Value));
    prog.Emit(JumpOp, Imm(4));
    prog.Emit(OP_PUSH, Imm(111));
    prog.Emit(OP_HLT);
    prog.Emit(OP_PUSH, Imm(222));
    prog.Emit(OP_HLT);
    VMMachine machine;
    prog.Load(*machine);
    machine->Execute(0, 100);
    Stack s = prog.Stack(*machine);
    EXPECT_EQ(s.size(), 1u);  // the tested value is always popped
    return s.back() == 222;
}

TEST_F(VMThreadTest, ConditionalJumpsUseTheZeroThreshold) {
    EXPECT_TRUE(JumpTaken(OP_JZ, 0));
    EXPECT_TRUE(JumpTaken(OP_JZ, 5e-8));
    EXPECT_TRUE(JumpTaken(OP_JZ, -5e-8));
    EXPECT_FALSE(JumpTaken(OP_JZ, 1e-6));
    EXPECT_FALSE(JumpTaken(OP_JZ, -1e-6));
    EXPECT_FALSE(JumpTaken(OP_JZ, NAN));

    EXPECT_FALSE(JumpTaken(OP_JNZ, 0));
    EXPECT_FALSE(JumpTaken(OP_JNZ, 5e-8));
    EXPECT_TRUE(JumpTaken(OP_JNZ, 1e-6));
    EXPECT_TRUE(JumpTaken(OP_JNZ, -1e-6));
    EXPECT_FALSE(JumpTaken(OP_JNZ, NAN));

    // The threshold is held in extended precision: the double nearest to 1e-7
    // lies just below it and counts as zero; the next double up does not.
    EXPECT_TRUE(JumpTaken(OP_JZ, 1e-7));
    EXPECT_FALSE(JumpTaken(OP_JNZ, 1e-7));
    EXPECT_FALSE(JumpTaken(OP_JZ, std::nextafter(1e-7, 1.0)));
    EXPECT_TRUE(JumpTaken(OP_JNZ, std::nextafter(1e-7, 1.0)));
}

TEST_F(VMThreadTest, JumpTargetsComeFromAnyOperandKindAndAreRounded) {
    Prog.Emit(OP_PUSH, Imm(1));
    Prog.Emit(OP_JNZ, Mem(120));   // cell 120 holds 4.4: to record 4
    Prog.Emit(OP_PUSH, Imm(-1));
    Prog.Emit(OP_HLT);
    Prog.Emit(OP_PUSH, Imm(7.6));  // 4: the target of the next jump, below the test value
    Prog.Emit(OP_PUSH, Imm(0));
    Prog.Emit(OP_JZ);              // pops 0, jumps to the rounded top, 8
    Prog.Emit(OP_PUSH, Imm(-2));
    Prog.Emit(OP_PUSH, Imm(99));   // 8
    Prog.Emit(OP_HLT);
    Prog.Data(120, 4.4);
    EXPECT_EQ(Run(), (Stack{7.6, 99}));
}

TEST_F(VMThreadTest, CallAndReturnWithAndWithoutValue) {
    Prog.Emit(OP_CALL, Imm(10));     // 0
    Prog.Emit(OP_PUSH, Imm(1));      // 1: after the first call
    Prog.Emit(OP_CALL, Mem(120));    // 2: cell 120 = 12
    Prog.Emit(OP_HLT);               // 3: the value returned is on top
    Prog.EmitAt(10, OP_RET);         // 10
    Prog.EmitAt(12, OP_PUSH, Imm(5));
    Prog.EmitAt(13, OP_XCHG);        // return address back on top
    Prog.EmitAt(14, OP_RET, Imm(42));
    Prog.Data(120, 12);
    EXPECT_EQ(Run(), (Stack{1, 5, 42}));
    EXPECT_EQ(Machine->GetMSW().IP, 4);
}

TEST_F(VMThreadTest, PopDropsTheRoundedCountOrStoresIntoACell) {
    for (double v : {1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0}) Prog.Emit(OP_PUSH, Imm(v));
    Prog.Emit(OP_POP, Imm(0));      // none
    Prog.Emit(OP_POP, Imm(-4));     // none
    Prog.Emit(OP_POP, Imm(3));      // drops 8, 7, 6
    Prog.Emit(OP_POP);              // drops 5
    Prog.Emit(OP_POP, Imm(1.4));    // drops 4
    Prog.Emit(OP_POP, Mem(120));    // 3 into cell 120
    Prog.Emit(OP_HLT);
    EXPECT_EQ(Run(), (Stack{1, 2}));
    EXPECT_EQ(Prog.Cell(120), 3);
}

TEST_F(VMThreadTest, ExchangeInItsThreeForms) {
    Prog.Emit(OP_PUSH, Imm(1));
    Prog.Emit(OP_PUSH, Imm(2));
    Prog.Emit(OP_XCHG);              // 2 1
    Prog.Emit(OP_XCHG, Mem(120));    // top 1 <-> cell 120 (9)
    Prog.Emit(OP_XCHG, Imm(6));      // top replaced by 6, the old top lands in the temporary register
    Prog.Emit(OP_HLT);
    Prog.Data(120, 9);
    EXPECT_EQ(Run(), (Stack{2, 6}));
    EXPECT_EQ(Prog.Cell(120), 1);
    EXPECT_EQ(Machine->GetMSW().TempRegister, 9);
}

TEST_F(VMThreadTest, HaltAndTheInstructionBudget) {
    Prog.Emit(OP_HLT);
    EXPECT_TRUE(Run().empty());
    EXPECT_EQ(Machine->GetMSW().IP, 1);
    EXPECT_TRUE(Machine->GetMSW().Halted);

    // A budget of nothing runs nothing, and a new run clears the halt.
    Machine->Execute(0, 0);
    EXPECT_EQ(Machine->GetMSW().IP, 0);
    EXPECT_FALSE(Machine->GetMSW().Halted);
    Machine->Execute(0, -5);
    EXPECT_EQ(Machine->GetMSW().IP, 0);

    // An endless counting loop runs in slices of exactly the budget.
    VMProgram loop(256);
    loop.Emit(OP_PUSH, Imm(0));
    loop.Emit(OP_INC);                // 1
    loop.Emit(OP_PUSH, Imm(1));
    loop.Emit(OP_JNZ, Imm(1));
    loop.Load(*Machine);
    Machine->Execute(0, 1 + 3 * 10);
    EXPECT_EQ(loop.Stack(*Machine), Stack{10});
    EXPECT_EQ(Machine->GetMSW().IP, 1);
    Machine->Execute(Machine->GetMSW().IP, 3 * 5 + 1);
    EXPECT_EQ(loop.Stack(*Machine), Stack{16});
    EXPECT_EQ(Machine->GetMSW().IP, 2);
    EXPECT_FALSE(Machine->GetMSW().Halted);
}

TEST_F(VMThreadTest, NopAndDisplayChangeNothingOnTheStack) {
    Prog.Emit(OP_PUSH, Imm(5));
    Prog.Emit(OP_NOP);
    Prog.Emit(OP_DBGDISP);
    Prog.Emit(OP_DBGDISP, Imm(-12.345678));
    Prog.Emit(OP_DBGDISP, Mem(120));
    Prog.Emit(OP_HLT);
    Prog.Data(120, 123456.5);
    testing::internal::CaptureStdout();
    Stack s = Run();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "   5.00000\n -12.34568\n123456.50000\n");
    EXPECT_EQ(s, Stack{5});
}

TEST_F(VMThreadTest, StackDumpListsTheTopFirst) {
    Prog.Emit(OP_PUSH, Imm(1));
    Prog.Emit(OP_PUSH, Imm(-2.5));
    Prog.Emit(OP_HLT);
    Run();
    testing::internal::CaptureStdout();
    Machine->DumpStack();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "-- Stack dump --\n"
              "       -2.50000\n"
              "        1.00000\n");
}

TEST_F(VMThreadTest, DecodingHappensOnceAndCanBeRepeated) {
    Prog.Emit(OP_PUSH, Imm(3));
    Prog.Emit(OP_HLT);
    Prog.Load(*Machine);
    EXPECT_EQ(Machine->FindOpcode(Machine->FindProcedure(OP_LS)), OP_LS);
    EXPECT_EQ(Machine->FindOpcode(nullptr), OP_INVALID);
    EXPECT_EQ(Machine->LocalPointer2SystemPointer(16), Prog.Bytes() + 16);

    // A program that overwrites an opcode number keeps running its decoded
    // instruction until the block is decoded again.
    WriteLE<int32_t>(Prog.Bytes() + OpCodeOffset, OP_NOP);
    Machine->Execute(0, 10);
    EXPECT_EQ(Prog.Stack(*Machine), Stack{3});
    Machine->RemapCodeSegment();
    Machine->Execute(0, 10);
    EXPECT_EQ(Prog.Stack(*Machine), Stack{3});  // NOP, then HLT
}

TEST_F(VMThreadTest, RecordsAreReadFieldByFieldLittleEndian) {
    uint8_t* r = Prog.Bytes() + InstructionRecordSize;  // record 1, at an odd multiple of 4
    Prog.EmitAt(0, OP_NOP);
    const uint8_t bytes[InstructionRecordSize] = {
        OP_PUSH, 0, 0, 0, 0xAA, 0xBB, 0xCC, 0xDD,  // opcode 4, bytes 4-7 ignored
        ARG_VALUE, 0, 0x12, 0x34,                  // immediate, reserved word ignored
        0, 0, 0, 0, 0, 0, 0x45, 0x40,              // DArg1 = 42.0
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    std::memcpy(r, bytes, sizeof bytes);
    Prog.EmitAt(2, OP_HLT);
    EXPECT_EQ(Run(), Stack{42});
}

}  // namespace
