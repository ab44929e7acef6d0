#pragma once

#include <string>
#include <vector>

namespace Kramo {

// Reads a number with a decimal point or a decimal comma; characters after the number are
// ignored. Logs and answers false when the text does not start with a number.
bool ParseNumber(const std::string& text, double& value);

// A plain decimal number: an optional '-', then digits with at most one '.'.
bool IsNumberText(const std::string& text);

// Turns every ',' into '.'; returns how many were turned.
int DecimalCommaToPoint(std::string& text);

// The runs of characters that are not delimiters; never an empty token.
std::vector<std::string> SplitText(const std::string& text, const std::string& delimiters);

// ASCII letter case, in place; bytes above 127 stay as they are.
void ToUpperText(std::string& text);
void ToLowerText(std::string& text);

// The text cut to at most maximumBytes, never inside a UTF-8 character.
// Characters of a UTF-8 text: continuation bytes do not count.
std::size_t CharacterCount(const std::string& text);

std::string CutAtCharacter(const std::string& text, std::size_t maximumBytes);

// The text with every byte that starts no well-formed UTF-8 character (a stray continuation
// byte, a cut or overlong sequence, a surrogate, a code point past U+10FFFF) replaced by '?'.
std::string WellFormedUtf8(const std::string& text);

bool EqualIgnoringCase(const std::string& left, const std::string& right);

}  // namespace Kramo
