#pragma once

#include <string>
#include <utility>

// What the user is told when something is refused or fails: the system's own words, and
// apart from them what is known of the cause and what to do. Whoever shows it shows both;
// nobody joins them into one text to split it again.
struct SMessage {
    SMessage(const char* words) : text(words) {}
    SMessage(std::string words, std::string cause = {})
        : text(std::move(words)), reason(std::move(cause)) {}

    std::string text;
    std::string reason;  // empty when nothing more is known
};
