#include "html/fontsubset.h"

#include <hb-subset.h>
#include <memory>

namespace tessary {

namespace {
template <typename T, void (*Destroy)(T *)> struct Deleter {
    void operator()(T *p) const { Destroy(p); }
};
template <typename T, void (*Destroy)(T *)> using Owned = std::unique_ptr<T, Deleter<T, Destroy>>;
using Blob = Owned<hb_blob_t, hb_blob_destroy>;
using Face = Owned<hb_face_t, hb_face_destroy>;
using Input = Owned<hb_subset_input_t, hb_subset_input_destroy>;
} // namespace

QByteArray subsetFont(const QByteArray &font, const QList<char32_t> &codePoints) {
    // The blob only borrows `font`, which outlives every use of it here.
    const Blob blob(hb_blob_create(font.constData(), unsigned(font.size()), HB_MEMORY_MODE_READONLY,
                                   nullptr, nullptr));
    const Face face(hb_face_create(blob.get(), 0));
    if (hb_face_get_glyph_count(face.get()) == 0)
        return {};
    const Input input(hb_subset_input_create_or_fail());
    if (!input)
        return {};
    hb_set_t *unicodes = hb_subset_input_unicode_set(input.get());
    for (const char32_t c : codePoints)
        hb_set_add(unicodes, c);
    // The glyphs carry no instructions, so the hinting tables are dead weight; a missing
    // character shows the notdef box, as the installed face would draw it.
    hb_subset_input_set_flags(input.get(),
                              HB_SUBSET_FLAGS_NO_HINTING | HB_SUBSET_FLAGS_NOTDEF_OUTLINE);
    const Face subset(hb_subset_or_fail(face.get(), input.get()));
    if (!subset)
        return {};
    const Blob bytes(hb_face_reference_blob(subset.get()));
    unsigned length = 0;
    const char *data = hb_blob_get_data(bytes.get(), &length);
    return QByteArray(data, qsizetype(length));
}

} // namespace tessary
