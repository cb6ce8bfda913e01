// Every run-time fault of the machine ends the program with a fatal message
// before anything outside the block is read or written.

#include <unistd.h>

#include <cmath>

#include "vm/vm_fixture.h"

namespace {

using ::testing::ExitedWithCode;

class VMFaultTest : public VMTest {
protected:
    VMFaultTest() : VMTest(256) {}  // 9 records, 32 cells
};

TEST_F(VMFaultTest, OpcodeNumbersOutsideTheSetAreRefusedWhenDecoding) {
    Prog.Emit(OP_NOP);
    Prog.Emit(16);
    EXPECT_EXIT(Prog.Load(*Machine), ExitedWithCode(255), "Invalid opcode number: 16");
    Prog.EmitAt(1, -1);
    EXPECT_EXIT(Prog.Load(*Machine), ExitedWithCode(255), "Invalid opcode number: -1");
}

TEST_F(VMFaultTest, ExecutingTheInvalidOpcodeReportsItsIndex) {
    Prog.Emit(OP_NOP);
    Prog.Emit(OP_NOP);
    Prog.Emit(OP_INVALID);
    // The line on standard output comes first, then the fatal message.
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            Run();
        },
        ExitedWithCode(255), "^Invalid opcode at IP=2\nFatal error:\nInvalid opcode at IP=2\n");
}

TEST_F(VMFaultTest, UnknownOperandKindIsFatal) {
    Prog.Emit(OP_PUSH, Imm(1));
    Prog.SetArgType(0, 3);
    EXPECT_EXIT(Run(), ExitedWithCode(255), "Invalid argument type: 3 at IP=0");
}

TEST_F(VMFaultTest, CellIndexOutsideTheBlockIsFatal) {
    Prog.Emit(OP_PUSH, Mem(31));  // the last cell: fine
    Prog.Emit(OP_PUSH, Mem(32));
    EXPECT_EXIT(Run(), ExitedWithCode(255), "Memory cell outside the code segment: 32 at IP=1");

    Prog.EmitAt(1, OP_INC, Mem(-1));
    EXPECT_EXIT(Run(), ExitedWithCode(255), "Address out of range: -1 at IP=1");
    Prog.EmitAt(1, OP_POP, Mem(3e9));
    EXPECT_EXIT(Run(), ExitedWithCode(255), "Address out of range: 3000000000 at IP=1");
    Prog.EmitAt(1, OP_ADD, Mem(NAN));
    EXPECT_EXIT(Run(), ExitedWithCode(255), "Address out of range: [-]?nan at IP=1");
}

TEST_F(VMFaultTest, IPOutsideTheBlockIsFatal) {
    for (int i = 0; i < 9; ++i) Prog.Emit(OP_NOP);  // runs off the end of the records
    EXPECT_EXIT(Run(), ExitedWithCode(255), "IP outside the code segment at IP=9");

    Prog.EmitAt(0, OP_CALL, Imm(2147483647));
    EXPECT_EXIT(Run(), ExitedWithCode(255), "IP outside the code segment at IP=2147483647");
    Prog.EmitAt(0, OP_CALL, Imm(2147483648.0));
    EXPECT_EXIT(Run(), ExitedWithCode(255), "Address out of range: 2147483648 at IP=0");

    Prog.EmitAt(0, OP_HLT);
    Prog.Load(*Machine);
    EXPECT_EXIT(Machine->Execute(-1, 1), ExitedWithCode(255), "IP outside the code segment at IP=-1");

    VMMachine empty;  // no block at all
    EXPECT_EXIT(empty->Execute(0, 1), ExitedWithCode(255), "IP outside the code segment at IP=0");
}

TEST_F(VMFaultTest, ReturnAddressMustNameARecord) {
    Prog.Emit(OP_PUSH, Imm(-1));
    Prog.Emit(OP_RET);
    EXPECT_EXIT(Run(), ExitedWithCode(255), "Return address outside the code segment: -1 at IP=1");
    Prog.EmitAt(0, OP_PUSH, Imm(9));
    EXPECT_EXIT(Run(), ExitedWithCode(255), "Return address outside the code segment: 9 at IP=1");
}

TEST_F(VMFaultTest, PushOnAFullStackIsFatal) {
    // Endless recursion: the return addresses fill every cell of the block,
    // the code's own included (its decoded handlers keep running).
    Prog.Emit(OP_CALL, Imm(0));
    EXPECT_EXIT(Run(), ExitedWithCode(255), "Stack overflow at IP=0");

    VMProgram tiny(16);
    tiny.Load(*Machine);
    Machine->StackPush(1);
    Machine->StackPush(2);
    EXPECT_EXIT(Machine->StackPush(3), ExitedWithCode(255), "Stack overflow");
}

TEST_F(VMFaultTest, PopPastTheStartOfTheStackIsFatal) {
    Prog.Emit(OP_POP);
    EXPECT_EXIT(Run(), ExitedWithCode(255), "Stack underflow at IP=0");

    // The operand of ADD is the element below the popped one: there is none.
    Prog.EmitAt(0, OP_PUSH, Imm(1));
    Prog.EmitAt(1, OP_ADD);
    EXPECT_EXIT(Run(), ExitedWithCode(255), "Stack underflow at IP=1");

    Prog.EmitAt(1, OP_PUSH);
    Prog.EmitAt(2, OP_POP, Imm(3));
    EXPECT_EXIT(Run(), ExitedWithCode(255), "Stack underflow at IP=2");
    Prog.EmitAt(2, OP_POP, Imm(1e300));
    EXPECT_EXIT(Run(), ExitedWithCode(255), "Stack underflow at IP=2");

    Prog.EmitAt(0, OP_XCHG, Mem(0));
    EXPECT_EXIT(Run(), ExitedWithCode(255), "Stack underflow at IP=0");
    Prog.EmitAt(0, OP_RET, Imm(0));
    EXPECT_EXIT(Run(), ExitedWithCode(255), "Stack underflow at IP=0");

    Prog.Load(*Machine);
    EXPECT_EXIT(Machine->StackPop(), ExitedWithCode(255), "Stack underflow");
}

TEST_F(VMFaultTest, TheBlockMustBeUsable) {
    EXPECT_EXIT(Machine->SetCodeSegment(Prog.Block(), -8), ExitedWithCode(255), "Invalid code segment size: -8");
    EXPECT_EXIT(Machine->SetCodeSegment(nullptr, 8), ExitedWithCode(255), "Code segment is missing");
    EXPECT_EXIT(Machine->SetCodeSegment(Prog.Bytes() + 4, 8), ExitedWithCode(255),
                "Code segment must be aligned to 8 bytes");
    Prog.Load(*Machine);
    EXPECT_EXIT(Machine->LocalPointer2SystemPointer(256), ExitedWithCode(255),
                "Offset outside the code segment: 256");
}

}  // namespace
