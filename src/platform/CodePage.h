// The system's ANSI code page, the one the editor's 8-bit text is in: conversion to and from
// UTF-16. The win32 build asks Windows; the native build uses the Windows-1252 table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace wexly {

class ICodePage
{
public:
    virtual ~ICodePage() = default;
    // Appends text's characters in the code page to out. False when some character has no
    // exact equivalent there, one that converts back to the same character: no near match is
    // taken and no default character is put in. out then holds an unspecified part of the text.
    virtual bool FromWide(const char16_t* text, size_t count, std::string& out) = 0;
    // Appends the UTF-16 form of complete characters of the code page to out.
    virtual void ToWide(const char* text, size_t count, std::u16string& out) = 0;
    // Every character is one byte (no lead bytes): a character converts on its own.
    virtual bool SingleByte() const = 0;
    // The code page's number (1252 for Western European).
    virtual uint32_t Id() const = 0;
};

// The code page of the current build's system.
ICodePage& ActiveCodePage();

} // namespace wexly
