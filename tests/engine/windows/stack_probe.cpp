// The probe of stack_probe.h, in i386 assembly: the compiler would restore
// the stack pointer from the frame pointer and hide what the callee did.
#include "stack_probe.h"

asm(R"(
    .text
    .globl _cxw_call_slots
    .def _cxw_call_slots; .scl 2; .type 32; .endef
_cxw_call_slots:
    pushl %ebp
    movl %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
    movl %esp, %edi
1:  testl %ecx, %ecx
    jz 2f
    decl %ecx
    pushl (%esi,%ecx,4)
    jmp 1b
2:  call *8(%ebp)
    movl 20(%ebp), %ecx
    movl %eax, (%ecx)
    movl %esp, %eax
    subl %edi, %eax
    movl %edi, %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret
)");
