#include "editor/palettetables.h"

#include "editor/notationfaces.h"

#include <QHash>

namespace tessary {

namespace {
constexpr int kEmpty = -1;
} // namespace

const QList<PaletteEntry> &greekPalette() {
    // Codes of the Windows-1253 Greek code page.
    const QString &g = Face::GreekEven;
    static const QList<PaletteEntry> entries = {
        {10, 0xE1, "alpha", g},   {11, 0xE2, "beta", g},    {12, 0xE3, "gamma", g},
        {13, 0xE4, "delta", g},   {14, 0xE5, "epsilon", g}, {15, 0xE6, "zeta", g},
        {16, 0xE7, "eta", g},     {17, 0xE8, "theta", g},   {18, 0xE9, "iota", g},
        {19, 0xEA, "kappa", g},   {20, 0xEB, "lambda", g},  {21, 0xEC, "mu", g},
        {22, 0xED, "nu", g},      {23, 0xEE, "xi", g},      {24, 0xF0, "pi", g},
        {25, 0xF1, "rho", g},     {26, 0xF3, "sigma", g},   {27, 0xF4, "tau", g},
        {28, 0xF5, "upsilon", g}, {29, 0xF6, "phi", g},     {30, 0xF7, "chi", g},
        {31, 0xF8, "psi", g},     {32, 0xF9, "omega", g},   {33, 0xC3, "Gamma", g},
        {34, 0xC4, "Delta", g},   {35, 0xC8, "Theta", g},   {36, 0xCB, "Lambda", g},
        {37, 0xCE, "Xi", g},      {38, 0xD0, "Pi", g},      {39, 0xD3, "Sigma", g},
        {40, 0xD6, "Phi", g},     {41, 0xD8, "Psi", g},     {42, 0xD9, "Omega", g},
        {43, kEmpty, "", g},
    };
    return entries;
}

const QList<PaletteEntry> &symbolPaletteA() {
    const QString &s = Face::SymbolEven;
    const QString &t = kTextSymbolFace; // codes of Windows-1252
    static const QList<PaletteEntry> entries = {
        {100, 0xC9, "congruent", s},       {101, 0xC7, "equivalence", s},
        {102, 0xC8, "approx equal", s},    {103, 0xC6, "not equal", s},
        {104, 0xB9, "less equal", s},      {105, 0xC1, "greater equal", s},
        {106, 0xC0, "plus minus", s},      {107, 0xC2, "multiply", s},
        {108, 0xC5, "divide", s},          {109, 0xCF, "circle multiply", s},
        {110, 0xD0, "circle plus", s},     {111, 0xBA, "infinity", s},
        {112, 0xC3, "proportional", s},    {113, 0xC4, "partial diff", s},
        {114, 0xB6, "such that", s},       {115, 0xB8, "therefore", s},
        {116, 0xBF, "degree", s},          {117, 0xB4, "universal", s},
        {118, 0xB5, "existential", s},     {119, 0xD1, "empty set", s},
        {120, 0xD2, "intersection", s},    {121, 0xD3, "union", s},
        {122, 0xD4, "proper superset", s}, {123, 0xD5, "reflex superset", s},
        {124, 0xD6, "not subset", s},      {125, 0xD7, "proper subset", s},
        {126, 0xD8, "reflex subset", s},   {127, 0xD9, "element", s},
        {128, 0xDA, "not element", s},     {129, kEmpty, "", s},
        {130, 0xAE, "registered", t},      {131, 0xA9, "copyright", t},
        {132, 0x99, "trademark", t},       {133, 0x80, "Euro", t},
    };
    return entries;
}

const QList<PaletteEntry> &symbolPaletteB() {
    const QString &s = Face::SymbolEven;
    static const QList<PaletteEntry> entries = {
        {200, 0xCB, "aleph", s},
        {201, 0xCC, "Ifraktur", s},
        {202, 0xCD, "Rfraktur", s},
        {203, 0xCE, "weierstrass", s},
        {204, 0xDB, "angle", s},
        {205, 0xDC, "gradient", s},
        {206, 0xDD, "product", s},
        {207, 0xE4, "sum", s},
        {208, 0xDF, "root", s},
        {209, 0xE6, "integral", s},
        {210, kEmpty, "", s},
        {211, kEmpty, "", s},
        {212, 0xE0, "mid dot", s},
        {213, 0xE1, "logical not", s},
        {214, 0xE2, "logical and", s},
        {215, 0xE3, "logical or", s},
        {216, kEmpty, "", s},
        {217, 0xBC, "arrow left", s},
        {218, 0xBB, "arrow up", s},
        {219, 0xBE, "arrow right", s},
        {220, 0xBD, "arrow down", s},
        {221, kEmpty, "", s},
        {222, 0xCA, "dash", s},
        {223, 0xF2, "bar", s},
        {224, 0xE8, "bracket left tp", s},
        {225, 0xE9, "bracket left bt", s},
        {226, 0xED, "bracket right tp", s},
        {227, 0xEE, "bracket right bt", s},
        {228, 0xEA, "brace left tp", s},
        {229, 0xEC, "brace left bt", s},
        {230, 0xEF, "brace right tp", s},
        {231, 0xF1, "brace right bt", s},
        {232, 0xEB, "brace left mid", s},
        {233, 0xF0, "brace right mid", s},
    };
    return entries;
}

int insertedSymbolCode(int shownCode) {
    switch (shownCode) {
    case 0xDD: // product
        return 0xDE;
    case 0xE4: // sum
        return 0xE5;
    case 0xE6: // integral
        return 0xE7;
    default:
        return shownCode;
    }
}

QString paletteHint(const QString &face, int code) {
    for (const QList<PaletteEntry> *bar : {&greekPalette(), &symbolPaletteA(), &symbolPaletteB()}) {
        for (const PaletteEntry &entry : *bar) {
            if (entry.face == face && entry.code >= 0 &&
                (entry.code == code || insertedSymbolCode(entry.code) == code))
                return QString::fromLatin1(entry.hint);
        }
    }
    return {};
}

BracketPiece bracketPieceOf(int symbolCode) {
    switch (symbolCode) {
    case 0xE9:
    case 0xEE:
    case 0xEC:
    case 0xF1:
        return BracketPiece::Bottom;
    case 0xE8:
    case 0xED:
    case 0xEA:
    case 0xEF:
    case 0xEB:
    case 0xF0:
    case 0xF2:
        return BracketPiece::TopOrMiddle;
    default:
        return BracketPiece::None;
    }
}

} // namespace tessary

namespace tessary {

const QList<LatexCommand> &latexCommands() {
    constexpr FaceFamily G = FaceFamily::Greek;
    constexpr FaceFamily S = FaceFamily::Symbol;
    // The tall bracket pieces are the pieces of TeX's extensible delimiters, taken from the
    // large-symbol font by number, as no command names them.
    static const QList<LatexCommand> table = {
        {u'α', G, "\\alpha"},
        {u'β', G, "\\beta"},
        {u'γ', G, "\\gamma"},
        {u'δ', G, "\\delta"},
        {u'ε', G, "\\epsilon"},
        {u'ζ', G, "\\zeta"},
        {u'η', G, "\\eta"},
        {u'θ', G, "\\theta"},
        {u'ι', G, "\\iota"},
        {u'κ', G, "\\kappa"},
        {u'λ', G, "\\lambda"},
        {u'μ', G, "\\mu"},
        {u'ν', G, "\\nu"},
        {u'ξ', G, "\\xi"},
        {u'π', G, "\\pi"},
        {u'ρ', G, "\\rho"},
        {u'σ', G, "\\sigma"},
        {u'ς', G, "\\varsigma"},
        {u'τ', G, "\\tau"},
        {u'υ', G, "\\upsilon"},
        {u'φ', G, "\\phi"},
        {u'χ', G, "\\chi"},
        {u'ψ', G, "\\psi"},
        {u'ω', G, "\\omega"},
        {u'Γ', G, "\\Gamma"},
        {u'Δ', G, "\\Delta"},
        {u'Θ', G, "\\Theta"},
        {u'Λ', G, "\\Lambda"},
        {u'Ξ', G, "\\Xi"},
        {u'Π', G, "\\Pi"},
        {u'Σ', G, "\\Sigma"},
        {u'Υ', G, "\\Upsilon"},
        {u'Φ', G, "\\Phi"},
        {u'Ψ', G, "\\Psi"},
        {u'Ω', G, "\\Omega"},
        {u'≅', S, "\\cong"},
        {u'≡', S, "\\equiv"},
        {u'≈', S, "\\approx"},
        {u'≠', S, "\\neq"},
        {u'≤', S, "\\leq"},
        {u'≥', S, "\\geq"},
        {u'±', S, "\\pm"},
        {u'×', S, "\\times"},
        {u'÷', S, "\\div"},
        {u'⊗', S, "\\otimes"},
        {u'⊕', S, "\\oplus"},
        {u'∞', S, "\\infty"},
        {u'∝', S, "\\propto"},
        {u'∂', S, "\\partial"},
        {u'∋', S, "\\ni"},
        {u'∴', S, "\\therefore"},
        {u'°', S, "^{\\circ}"},
        {u'∀', S, "\\forall"},
        {u'∃', S, "\\exists"},
        {u'∅', S, "\\emptyset"},
        {u'∩', S, "\\cap"},
        {u'∪', S, "\\cup"},
        {u'⊃', S, "\\supset"},
        {u'⊇', S, "\\supseteq"},
        {u'⊄', S, "\\not\\subset"},
        {u'⊂', S, "\\subset"},
        {u'⊆', S, "\\subseteq"},
        {u'∈', S, "\\in"},
        {u'∉', S, "\\notin"},
        {u'ℵ', S, "\\aleph"},
        {u'ℑ', S, "\\Im"},
        {u'ℜ', S, "\\Re"},
        {u'℘', S, "\\wp"},
        {u'∠', S, "\\angle"},
        {u'∇', S, "\\nabla"},
        {u'∏', S, "\\prod"},
        {u'∑', S, "\\sum"},
        {u'√', S, "\\surd"},
        {u'∫', S, "\\int"},
        {u'⋅', S, "\\cdot"},
        {u'¬', S, "\\neg"},
        {u'∧', S, "\\wedge"},
        {u'∨', S, "\\vee"},
        {u'←', S, "\\leftarrow"},
        {u'↑', S, "\\uparrow"},
        {u'→', S, "\\rightarrow"},
        {u'↓', S, "\\downarrow"},
        {u'⎯', S, "\\relbar"},
        {u'⎪', S, "\\mathchar\"033E"},
        {u'⎡', S, "\\mathchar\"0332"},
        {u'⎣', S, "\\mathchar\"0334"},
        {u'⎤', S, "\\mathchar\"0333"},
        {u'⎦', S, "\\mathchar\"0335"},
        {u'⎧', S, "\\mathchar\"0338"},
        {u'⎩', S, "\\mathchar\"033A"},
        {u'⎫', S, "\\mathchar\"0339"},
        {u'⎭', S, "\\mathchar\"033B"},
        {u'⎨', S, "\\mathchar\"033C"},
        {u'⎬', S, "\\mathchar\"033D"},
        {u'＿', S, "\\_"},
    };
    return table;
}

const QList<LatexCommand> &latexAliases() {
    constexpr FaceFamily G = FaceFamily::Greek;
    constexpr FaceFamily S = FaceFamily::Symbol;
    static const QList<LatexCommand> table = {
        {u'ε', G, "\\varepsilon"}, {u'θ', G, "\\vartheta"},   {u'φ', G, "\\varphi"},
        {u'π', G, "\\varpi"},      {u'ρ', G, "\\varrho"},     {u'≠', S, "\\ne"},
        {u'≤', S, "\\le"},         {u'≥', S, "\\ge"},         {u'¬', S, "\\lnot"},
        {u'∧', S, "\\land"},       {u'∨', S, "\\lor"},        {u'→', S, "\\to"},
        {u'←', S, "\\gets"},       {u'∅', S, "\\varnothing"}, {u'∋', S, "\\owns"},
        {u'⋅', S, "\\cdotp"},      {u'∉', S, "\\not\\in"},    {u'°', S, "^\\circ"},
    };
    return table;
}

const LatexCommand *latexCommandFor(QChar c) {
    static const QHash<char16_t, const LatexCommand *> byCharacter = [] {
        QHash<char16_t, const LatexCommand *> index;
        for (const LatexCommand &entry : latexCommands())
            index.insert(entry.character, &entry);
        return index;
    }();
    return byCharacter.value(c.unicode(), nullptr);
}

} // namespace tessary
