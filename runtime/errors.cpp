// errors.cpp: Print and friends, fatal runtime errors, the crash-signal
// handler and the debugger stop protocol.
#include "runtime/errors.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "runtime/gc.h"

// ---------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------

const char *dbg_info;
String dbg_exstack;
int dbg_suspend;
int dbg_stepmode;

namespace {

// Longest debugger command line, newline included.
constexpr int kCommandLineBytes = 256;
// Characters of a string dbg_value shows before "...".
constexpr int kValueShownChars = 100;
// Slack added when a line buffer grows.
constexpr int kLineSlackBytes = 100;

// A line buffer that grows to the line length + kLineSlackBytes.
struct LineBuffer {
    char *data = nullptr;
    int capacity = 0;

    // Writes text's low bytes and a newline to out and flushes it.
    void Write(const String &text, FILE *out) {
        int n = text.Length();
        if (n + 1 > capacity) {
            std::free(data);
            capacity = n + kLineSlackBytes;
            data = static_cast<char *>(std::malloc(std::size_t(capacity)));
            if (!data) {
                capacity = 0;
                return;
            }
        }
        const char16_t *s = text.Data();
        for (int i = 0; i < n; ++i) data[i] = static_cast<char>(s[i] & 0xFF);
        data[n] = '\n';
        std::fwrite(data, 1, std::size_t(n) + 1, out);
        std::fflush(out);
    }
};

LineBuffer print_buffer;
LineBuffer dbg_print_buffer;

[[noreturn]] void end_process(int status) {
    std::fflush(stdout);
    std::fflush(stderr);
    std::exit(status);
}

// The collected object at address p, or null when no live object starts
// there (the debugger may name any address).
Object *find_live_object(const void *p) {
    for (gc_object *list : {&gc_unmarked_list, &gc_queued_list, &gc_marked_list}) {
        for (gc_object *o = list->succ; o != list; o = o->succ) {
            if (o == p) return dynamic_cast<Object *>(o);
        }
    }
    return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// Console
// ---------------------------------------------------------------------------

int Print(String text) {
    print_buffer.Write(text, stdout);
    return 0;
}

int DebugLog(String text) {
    return Print(text);
}

void dbg_print(String text) {
    dbg_print_buffer.Write(text, stderr);
}

// ---------------------------------------------------------------------------
// Fatal errors and the stop protocol
// ---------------------------------------------------------------------------

int Error(String message) {
    if (message.Length() == 0) end_process(0);
    dbg_error(message.ToCString<char>());
}

void dbg_error(const char *message) {
    for (;;) {
        std::printf("Vantix Runtime Error : %s\n", message ? message : "");
        std::fflush(stdout);
        Print(dbg_stacktrace());
        dbg_stop();
    }
}

void dbg_stop() {
    std::fprintf(stderr, "{{~~%s~~}}\n", dbg_info ? dbg_info : "");
    dbg_print(String());

    char line[kCommandLineBytes];
    for (;;) {
        if (!std::fgets(line, sizeof line, stdin)) end_process(-1);
        std::size_t len = std::strlen(line);
        if (len == 0 || line[len - 1] != '\n') end_process(-1);
        line[len - 1] = 0;

        switch (line[0]) {
            case '?':
                break;
            case '@': {
                void *p = nullptr;
                if (std::sscanf(line + 1, "%p", &p) != 1) p = nullptr;
                Object *o = p ? find_live_object(p) : nullptr;
                dbg_print(o ? o->debug() : String());
                break;
            }
            case 'e':
                dbg_suspend = 1;
                dbg_stepmode = 'e';
                return;
            case 'l':
                dbg_suspend = 0;
                dbg_stepmode = 'l';
                return;
            case 's':
                dbg_suspend = 1;
                dbg_stepmode = 's';
                return;
            case 'r':
                dbg_suspend = 0;
                dbg_stepmode = 0;
                return;
            case 'q':
                end_process(0);
            default:
                std::printf("????? %s ?????\n", line);
                end_process(-1);
        }
    }
}

int DebugStop() {
    dbg_stop();
    return 0;
}

String dbg_stacktrace() {
    if (!dbg_info || !*dbg_info) return String();
    return String(dbg_info) + "\n";
}

void dbg_throw(const char *message) {
    dbg_exstack = dbg_stacktrace();
    throw message;
}

void dbg_callstack() {}

void sighandler(int signal) {
    const char *name = "Unknown signal";
    switch (signal) {
        case SIGILL:
            name = "Illegal instruction";
            break;
        case SIGFPE:
            name = "Floating point exception";
            break;
        case SIGSEGV:
            name = "Memory access violation";
            break;
        default:
            break;
    }
    dbg_error(name);
}

// ---------------------------------------------------------------------------
// Debugger views of values
// ---------------------------------------------------------------------------

String dbg_type(bool *) {
    return "Bool";
}
String dbg_type(int *) {
    return "Int";
}
String dbg_type(float *) {
    return "Float";
}
String dbg_type(String *) {
    return "String";
}

String dbg_value(bool *p) {
    return *p ? "True" : "False";
}
String dbg_value(int *p) {
    return String(*p);
}
String dbg_value(float *p) {
    return String(*p);
}

String dbg_value(String *p) {
    String s = *p;
    if (s.Length() > kValueShownChars) s = s.Slice(0, kValueShownChars) + "...";
    s = s.Replace("\"", "~q");
    s = s.Replace("\t", "~t");
    s = s.Replace("\n", "~n");
    s = s.Replace("\r", "~r");
    return "\"" + s + "\"";
}
