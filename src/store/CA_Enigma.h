#pragma once

#include <QString>

#include <array>

namespace tolvaro {

// The codec of every data-file line: a character substitution whose mapping shifts with the
// character's position in the line. Both rows hold the same 91 characters (digits, the space,
// the Latin letters, ä ö ü Ä Ö Ü ß, § and 20 marks); a character at index i standing at position
// k of the plain row becomes the character at position (k - 2i) mod 91 of the scrambled row.
// Every other character passes through unchanged but still counts as a position. The rows are
// the key of every file ever written: they must never change.
class CA_Enigma {
public:
    CA_Enigma();
    virtual ~CA_Enigma() = default;

    QString Encode(QString text) const;
    QString Decode(QString text) const;

private:
    QString m_strPlainRow;
    QString m_strScrambledRow;
    // Position of each Latin-1 character in the rows, -1 when it is in neither.
    std::array<short, 256> m_plainPos{};
    std::array<short, 256> m_scrambledPos{};
};

} // namespace tolvaro
