#pragma once

// Swaps the process's argument vector (where the launch record is read
// from) for the life of the object.

#include "outside/CrtArguments.h"

#include <string>
#include <utility>
#include <vector>

class ProcessArguments {
public:
    explicit ProcessArguments(std::vector<std::string> arguments)
        : m_texts(std::move(arguments)), m_count(__argc), m_vector(__argv) {
        for (std::string& text : m_texts)
            m_pointers.push_back(text.data());
        m_pointers.push_back(nullptr);
        __argc = int(m_texts.size());
        __argv = m_pointers.data();
    }
    ~ProcessArguments() {
        __argc = m_count;
        __argv = m_vector;
    }
    ProcessArguments(const ProcessArguments&) = delete;
    ProcessArguments& operator=(const ProcessArguments&) = delete;

private:
    std::vector<std::string> m_texts;
    std::vector<char*> m_pointers;
    int m_count;
    char** m_vector;
};
