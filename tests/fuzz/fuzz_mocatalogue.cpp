// The MO catalogue reader: the input is a catalogue file. A damaged one
// gives an empty catalogue; nothing may read outside the data.

#include "fuzzcheck.h"
#include "services/translation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // fromData may keep views of its argument, so it gets a real copy.
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const MoCatalogue catalogue = MoCatalogue::fromData(bytes);

    FUZZ_CHECK(catalogue.isEmpty() == (catalogue.size() == 0));
    // The header entry never answers a lookup.
    FUZZ_CHECK(catalogue.lookup(QString()).isNull());
    FUZZ_CHECK(catalogue.lookup(QStringLiteral("")).isNull());
    for (const char *id : { "Overwrite setup \"%s\"?", "Save", "Yes", "a", "ctx" }) {
        catalogue.lookup(QString::fromUtf8(id));
        catalogue.lookup(QStringLiteral("ctx"), QString::fromUtf8(id));
    }
    // Ids of the input itself, split at NUL bytes the way the file stores
    // its strings.
    for (const QByteArray &piece : bytes.split('\0')) {
        if (piece.size() <= 64) {
            catalogue.lookup(QString::fromUtf8(piece));
            const qsizetype sep = piece.indexOf('\x04');
            if (sep > 0)
                catalogue.lookup(
                    QString::fromUtf8(piece.first(sep)), QString::fromUtf8(piece.sliced(sep + 1)));
        }
    }
    return 0;
}
