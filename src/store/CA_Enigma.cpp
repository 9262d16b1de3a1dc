#include "store/CA_Enigma.h"

namespace tolvaro {
namespace {

constexpr int kRowLength = 91;

const char16_t kPlainRow[] =
    u"0123456789 abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZäöüÄÖÜß§!#$%&()*+,-./:;<=>?_";
const char16_t kScrambledRow[] =
    u"K§PfScXÄ-ÖrÜj$s e3F?Tn:Bo,zm.QR!%6q*5yZUI4)YhbüL_v#Aad<J1t0wl&G=g>9k;pN+öOiEäW7CV2uMHßD/x8(";

int Mod(int value) {
    return ((value % kRowLength) + kRowLength) % kRowLength;
}

} // namespace

CA_Enigma::CA_Enigma()
    : m_strPlainRow(QString::fromUtf16(kPlainRow)),
      m_strScrambledRow(QString::fromUtf16(kScrambledRow)) {
    m_plainPos.fill(-1);
    m_scrambledPos.fill(-1);
    for (int k = 0; k < kRowLength; ++k) {
        m_plainPos[m_strPlainRow[k].unicode()] = static_cast<short>(k);
        m_scrambledPos[m_strScrambledRow[k].unicode()] = static_cast<short>(k);
    }
}

QString CA_Enigma::Encode(QString text) const {
    for (int i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 256 && m_plainPos[c] >= 0)
            text[i] = m_strScrambledRow[Mod(m_plainPos[c] - 2 * (i % kRowLength))];
    }
    return text;
}

QString CA_Enigma::Decode(QString text) const {
    for (int i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 256 && m_scrambledPos[c] >= 0)
            text[i] = m_strPlainRow[Mod(m_scrambledPos[c] + 2 * (i % kRowLength))];
    }
    return text;
}

} // namespace tolvaro
