/*
 * Preloaded into the 32-bit Wine processes where they run under qemu's user-mode emulator.
 *
 * Wine tells a fault's kind (access violation, breakpoint, division by zero, ...) by the
 * trap number the kernel writes into the signal context. qemu's user-mode emulator leaves
 * that number at -1, and Wine then reports every fault as an illegal instruction. This
 * library stands between Wine's fault handlers and the signals: where the number is -1 it
 * writes the number a real processor would have given for that signal, then calls Wine's
 * handler. On a real processor the number is never -1 and nothing changes.
 *
 * The handlers run on the faulting thread with Windows' segment registers, so the wrapper
 * only reads and writes the context and calls on: no library call, no thread-local data.
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stddef.h>
#include <ucontext.h>

typedef void (*info_handler)(int, siginfo_t *, void *);
typedef int (*sigaction_fn)(int, const struct sigaction *, struct sigaction *);

/* The trap numbers of the x86 exceptions behind these signals. */
enum { TRAP_DIVIDE = 0, TRAP_SINGLE_STEP = 1, TRAP_BREAKPOINT = 3, TRAP_INVALID_OPCODE = 6,
       TRAP_GENERAL_PROTECTION = 13, TRAP_PAGE_FAULT = 14, TRAP_FLOATING_POINT = 16 };

static info_handler wrapped[NSIG];

static int trap_number_for(int sig, const siginfo_t *info) {
    switch (sig) {
    case SIGSEGV: return info->si_code == SI_KERNEL ? TRAP_GENERAL_PROTECTION : TRAP_PAGE_FAULT;
    case SIGILL: return TRAP_INVALID_OPCODE;
    case SIGFPE: return info->si_code == FPE_INTDIV || info->si_code == FPE_INTOVF
                     ? TRAP_DIVIDE : TRAP_FLOATING_POINT;
    case SIGTRAP: return info->si_code == TRAP_TRACE ? TRAP_SINGLE_STEP : TRAP_BREAKPOINT;
    default: return -1;
    }
}

static void supply_trap_number(int sig, siginfo_t *info, void *context) {
    ucontext_t *uc = context;
    if (uc->uc_mcontext.gregs[REG_TRAPNO] == -1) {
        uc->uc_mcontext.gregs[REG_TRAPNO] = trap_number_for(sig, info);
    }
    wrapped[sig](sig, info, context);
}

static int is_fault_signal(int sig) {
    return sig == SIGSEGV || sig == SIGILL || sig == SIGFPE || sig == SIGTRAP;
}

int sigaction(int sig, const struct sigaction *act, struct sigaction *old) {
    static sigaction_fn real;
    if (real == NULL) real = (sigaction_fn)dlsym(RTLD_NEXT, "sigaction");
    if (sig <= 0 || sig >= NSIG || !is_fault_signal(sig)) return real(sig, act, old);

    info_handler previous = wrapped[sig];
    int result;
    if (act != NULL && (act->sa_flags & SA_SIGINFO)) {
        struct sigaction ours = *act;
        ours.sa_sigaction = supply_trap_number;
        result = real(sig, &ours, old);
        if (result == 0) wrapped[sig] = act->sa_sigaction;
    } else {
        result = real(sig, act, old);
        if (result == 0 && act != NULL) wrapped[sig] = NULL;
    }
    /* The caller sees the handler it installed, not ours. */
    if (result == 0 && old != NULL && old->sa_sigaction == supply_trap_number) {
        old->sa_sigaction = previous;
    }
    return result;
}
