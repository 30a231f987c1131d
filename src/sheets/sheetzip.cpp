#include "sheets/sheetzip.h"

#include <QFile>
#include <QFileInfo>

#include <zip.h>

// libzip rather than a minizip-based library: the .xlsx export's writer links
// the system minizip, and two libraries exporting minizip's names in one
// process take each other's functions, which crashes the first zip written.

namespace {

constexpr qint64 kFreeBytes = 1 << 20; // what any part may unpack to, whatever its packed size

// A part as it is unpacked, ending in an error once it passes `allowed`.
class BoundedPart : public QIODevice
{
public:
    BoundedPart(zip_file_t *file, qint64 allowed, std::shared_ptr<bool> tooLarge)
        : m_file(file)
        , m_allowed(allowed)
        , m_tooLarge(std::move(tooLarge))
    {
        QIODevice::open(QIODevice::ReadOnly);
    }
    ~BoundedPart() override { zip_fclose(m_file); }

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (*m_tooLarge || maxSize <= 0)
            return *m_tooLarge ? -1 : 0;
        const zip_int64_t n = zip_fread(m_file, data, zip_uint64_t(maxSize));
        if (n < 0)
            return -1;
        m_read += n;
        if (m_read > m_allowed) {
            *m_tooLarge = true;
            return -1;
        }
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    zip_file_t *m_file;
    qint64 m_allowed;
    qint64 m_read = 0;
    std::shared_ptr<bool> m_tooLarge;
};

} // namespace

SheetZip::SheetZip(const QString &path, const SpreadsheetFile::Limits &limits)
    : m_path(path)
    , m_limits(limits)
    , m_tooLarge(std::make_shared<bool>(false))
{
}

SheetZip::~SheetZip()
{
    if (m_zip)
        zip_discard(m_zip);
}

bool SheetZip::open()
{
    m_fileSize = QFileInfo(m_path).size();
    int error = 0;
    m_zip = zip_open(QFile::encodeName(m_path).constData(), ZIP_RDONLY, &error);
    return m_zip != nullptr;
}

bool SheetZip::has(const QString &name)
{
    return m_zip && zip_name_locate(m_zip, name.toUtf8().constData(), ZIP_FL_NOCASE) >= 0;
}

std::unique_ptr<QIODevice> SheetZip::part(const QString &name)
{
    *m_tooLarge = false;
    if (!m_zip)
        return nullptr;
    const zip_int64_t index = zip_name_locate(m_zip, name.toUtf8().constData(), ZIP_FL_NOCASE);
    zip_stat_t info;
    zip_stat_init(&info);
    if (index < 0 || zip_stat_index(m_zip, zip_uint64_t(index), 0, &info) != 0)
        return nullptr;
    if ((info.valid & ZIP_STAT_ENCRYPTION_METHOD) && info.encryption_method != ZIP_EM_NONE)
        return nullptr;
    // The sizes the zip claims are checked first, the bytes really unpacked
    // as they come: either may lie.
    const qint64 packed = (info.valid & ZIP_STAT_COMP_SIZE) ? qint64(qMin<zip_uint64_t>(info.comp_size, zip_uint64_t(m_fileSize)))
                                                            : m_fileSize;
    const qint64 allowed =
        qMin(m_limits.entryBytes, qMax(kFreeBytes, packed * qint64(qMax(1, m_limits.packingRatio))));
    if ((info.valid & ZIP_STAT_SIZE) && info.size > zip_uint64_t(allowed)) {
        *m_tooLarge = true;
        return nullptr;
    }
    zip_file_t *file = zip_fopen_index(m_zip, zip_uint64_t(index), 0);
    if (!file)
        return nullptr;
    return std::make_unique<BoundedPart>(file, allowed, m_tooLarge);
}
