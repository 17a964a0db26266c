// errors.h: console output, fatal runtime errors, the crash-signal handler
// and the stop protocol an attached debugger talks to.
//
// Text is written as 8-bit bytes: each 16-bit character contributes its low
// byte. A fatal error prints "Vantix Runtime Error : <message>" and the stack
// line on standard output, then waits on standard input for a debugger
// command (end of input ends the process with status -1).
#ifndef TESSELON_RUNTIME_ERRORS_H
#define TESSELON_RUNTIME_ERRORS_H

#include "runtime/bbstring.h"
#include "runtime/object.h"

// ---------------------------------------------------------------------------
// Types and state
// ---------------------------------------------------------------------------

// Base of exceptions thrown (as pointers) by application code.
class ThrowableObject : public Object {};

// Current source position for a debugger (8-bit text); never set here.
extern const char *dbg_info;
// Stack trace captured by the last dbg_throw.
extern String dbg_exstack;
// Set by the debugger's step and run commands.
extern int dbg_suspend;
extern int dbg_stepmode;

// ---------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------

// One line on standard output, flushed; returns 0.
int Print(String text);
int DebugLog(String text);
// One line on standard error, flushed.
void dbg_print(String text);

// Empty message: ends the process with status 0, silently. Otherwise a
// fatal runtime error (dbg_error).
[[noreturn]] int Error(String message);
// Reports a fatal runtime error, then the stop protocol; repeats while a
// debugger resumes the program, so it never returns.
[[noreturn]] void dbg_error(const char *message);
// The stop protocol: "{{~~info~~}}" and an empty line on standard error,
// then debugger commands from standard input.
void dbg_stop();
int DebugStop();
// dbg_info and a newline, or empty.
String dbg_stacktrace();
// Stores dbg_stacktrace() in dbg_exstack and throws message.
[[noreturn]] void dbg_throw(const char *message);
void dbg_callstack();
// Handler for SIGILL, SIGFPE and SIGSEGV: reports the signal's name.
void sighandler(int signal);

// "Bool", "Int", "Float", "String".
String dbg_type(bool *p);
String dbg_type(int *p);
String dbg_type(float *p);
String dbg_type(String *p);
// The value as a debugger shows it.
String dbg_value(bool *p);
String dbg_value(int *p);
String dbg_value(float *p);
String dbg_value(String *p);

#endif
