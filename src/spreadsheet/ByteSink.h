#pragma once
// Destinations for the bytes of a written file: memory (tests, previews) or a file on
// disk that only replaces the target when every byte was written.

#include <QByteArray>
#include <QSaveFile>
#include <QString>

namespace kelm {

// Receives the bytes of a file in order. Write returns false once anything failed;
// ErrorString then says why.
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    virtual bool Write(const QByteArray& bytes) = 0;
    virtual QString ErrorString() const = 0;
};

// Collects everything in memory.
class MemoryByteSink : public ByteSink {
  public:
    bool Write(const QByteArray& bytes) override;
    QString ErrorString() const override { return {}; }
    const QByteArray& Bytes() const { return bytes_; }

  private:
    QByteArray bytes_;
};

// Writes to a file under a temporary name and puts it in place on Commit, so a failed
// write never leaves a half file under the target name.
class FileByteSink : public ByteSink {
  public:
    explicit FileByteSink(const QString& path);
    // False with ErrorString set when the file cannot be created (missing folder,
    // no permission, the path is a folder).
    bool Open();
    bool Write(const QByteArray& bytes) override;
    // Finishes the file; false when the data could not be flushed or the target could
    // not be replaced (for example because another program holds it open).
    bool Commit();
    QString ErrorString() const override { return error_; }

  private:
    QString path_;
    QSaveFile file_;
    QString error_;
};

}  // namespace kelm
