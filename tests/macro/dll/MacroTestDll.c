/* A user's DLL for the macro tests: each procedure leaves a trace the test can read. */
#include <stdio.h>
#include <string.h>
#include <windows.h>

#define EXPORT __declspec(dllexport) __cdecl

static void WriteText(const char* name, const char* text)
{
    FILE* file = fopen(name, "wb");
    if (file) {
        fputs(text, file);
        fclose(file);
    }
}

EXPORT void Touch(void) { WriteText("touched.txt", "touched"); }

/* Found only under its underscored name. */
EXPORT void _Plain(void) { WriteText("plain.txt", "plain"); }

EXPORT void Hook(const char* nick, const char* user, const char* host, const char* event, const char* channel,
                 const char* message, char* reply)
{
    if (strcmp(message, "empty") == 0)
        return;
    snprintf(reply, 4096, "PRIVMSG #out :%s|%s|%s|%s|%s|%s|%%n\r\nJOIN #two", nick, user, host, event, channel,
             message);
}

EXPORT void Echo(const char* text, char* reply) { snprintf(reply, 4096, "<%s> %%n", text); }

/* Leaves no terminator at all in the 4097 bytes it was given. */
EXPORT void Fill(const char* text, char* reply)
{
    (void)text;
    memset(reply, 'x', 4097);
}

/* Holds a box titled "kvhold" until it is answered, then has a command run. */
EXPORT void HoldHook(const char* nick, const char* user, const char* host, const char* event, const char* channel,
                     const char* message, char* reply)
{
    (void)nick, (void)user, (void)host, (void)event, (void)channel, (void)message;
    MessageBoxA(NULL, "held", "kvhold", MB_OK);
    snprintf(reply, 4096, "PRIVMSG #kv :after the box");
}
