#include "ConsolePrompt.h"

#include <cctype>

bool doPromptToContinue(const char* prompt) {
    return doPromptToContinue(prompt, stdin, stdout);
}

bool doPromptToContinue(const char* prompt, FILE* input, FILE* output) {
    if (prompt)
        std::fputs(prompt, output);
    std::fflush(output);
    int answer = std::fgetc(input);
    // An answer is a line: what follows its first character must not answer the next question.
    for (int rest = answer; rest != EOF && rest != '\n';)
        rest = std::fgetc(input);
    std::fputs("\n\n\n", output);
    std::fflush(output);
    if (answer == EOF)
        return false;
    return std::toupper(answer) == 'Y';
}
