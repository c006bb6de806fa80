#pragma once

#include <QElapsedTimer>
#include <QString>

#include <cstdint>
#include <cstdio>

namespace import {

// What the import reports while it works. Every call is optional.
class ImportProgress {
public:
    virtual ~ImportProgress() = default;
    virtual void TableStarted(const QString& file, const QString& table, std::int64_t expectedRows)
    {
        (void)file, (void)table, (void)expectedRows;
    }
    virtual void RowsDone(std::int64_t rows) { (void)rows; }
    virtual void TableDone(std::int64_t rows) { (void)rows; }
    // Something the user should know that does not stop the import.
    virtual void Note(const QString& text) { (void)text; }
};

// Progress on a terminal: one bar per table, redrawn in place, with the rows
// done. When the output is not a terminal (a log, a pipe) each table gets one
// plain line when it is done, and nothing is redrawn.
class ConsoleProgress : public ImportProgress {
public:
    ConsoleProgress(std::FILE* out, bool terminal, int width = 80);

    void TableStarted(const QString& file, const QString& table, std::int64_t expectedRows) override;
    void RowsDone(std::int64_t rows) override;
    void TableDone(std::int64_t rows) override;
    void Note(const QString& text) override;

    // Whether a stream is a terminal, and how wide it is (80 when unknown).
    static bool IsTerminal(std::FILE* stream);
    static int TerminalWidth(std::FILE* stream);

private:
    void drawBar(std::int64_t rows, bool force);
    void print(const QString& text);

    std::FILE* out_;
    bool terminal_;
    int width_;
    QString label_;
    std::int64_t expected_ = 0;
    int lastPermille_ = -1;
    QElapsedTimer sinceDraw_;
};

} // namespace import
