#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>
#include <optional>

// The firmware for the device without Ethernet port, as the flash tool expects it.
inline const QString Firmware_File_Name = QStringLiteral("sx38591.sx");
inline const QString New_Firmware_Prefix = QStringLiteral("New_");

// One configuration image and the 16 KB window of the firmware's address space it fills.
struct Bank_Window {
    QString image; // file name in the bin folder
    quint32 first;
    quint32 last;
};

inline constexpr int Bank_Count = 2;
inline constexpr int Bank_Size = 0x4000;
inline constexpr int Bank_Record_Bytes = 32;
inline constexpr int Bank_Records = Bank_Size / Bank_Record_Bytes;
inline constexpr int Stage_Count = 5;

const Bank_Window& Bank_Of(int bank);

// For a record whose last two characters are a placeholder: the ones' complement of the low
// byte of the sum of its bytes after the type, as two upper-case hex digits (checksumOnly), or
// the whole record with the placeholder replaced.
QByteArray Calc_Checksum(const QByteArray& record, bool checksumOnly);

// The S2 record (without line end) holding 32 bytes of data at `address`.
QByteArray Bank_Record(quint32 address, const char* data);

// The first Bank_Size bytes of `image` as 512 S2 records from `first` on, each ending in CR LF.
QByteArray Render_Bank(const QByteArray& image, quint32 first);

// Merges the configuration images into a copy of the firmware, in five stages:
// stage n merges bank n when its switch is on, otherwise passes its input on. Only banks 1
// and 2 exist, so stages 3 to 5 always pass on. The stages work in a private folder beside the
// result, created fresh and removed afterwards; the result is read back and checked
// (Verify_Composed) before it replaces the previous one in one step.
// The folders end with '/', as the window keeps them.
class Sx_Composer final {
public:
    QString NomeDirSxNew;  // output folder, also of the intermediate files
    QString NomeFileSxNew; // result file name
    QString NomeDirBin;    // folder of the images; empty when there is none
    std::array<bool, Stage_Count> Merge_Switch{true, true, false, false, false};
    // The images this update wrote (the caller's own copy, not the files): a bank file that
    // differs stops the compose. An empty entry: the window must hold the file as it was read.
    std::array<QByteArray, Bank_Count> Expected_Images;
    // Off only to look at what the stages alone make of an input.
    bool Verify = true;

    // Plain messages of a stop, in the order they arise.
    std::function<void(const QString&)> On_Message;
    // Progress of the running stage: value out of maximum (0: the maximum stays as it is).
    std::function<void(int value, int maximum)> On_Progress;

    // -1: the stage stopped (with a message, or silently when the input has no S9 line);
    // 1: the bank was merged. The output goes into the private folder while Compose runs,
    // else into NomeDirSxNew. Throws App_Error when a file cannot be read or written.
    int Merge_Bank(int bank, const QString& outName, const QString& input);

    // Runs the five stages from `firmware`. True only when this run wrote the result file;
    // after a stop (always with a message) or an error (App_Error: a file that cannot be
    // read or written, a read-only result or folder) the previous result stays as it was and
    // the private folder is gone.
    bool Compose(const QString& firmware);

    // Per stage of the last Compose: the result of Merge_Bank, 0 for a stage that passed its
    // input on, empty for a stage that did not run.
    std::array<std::optional<int>, Stage_Count> Stage_Result{};

    QString Result_Path() const { return NomeDirSxNew + NomeFileSxNew; }

    // The name pattern of the private folders beside `result`.
    static QString Work_Folder_Prefix(const QString& resultName);

private:
    void Message(const QString& text);
    void Progress(int value) const;
    QString Work_Dir() const { return m_work.isEmpty() ? NomeDirSxNew : m_work; }
    QString Stage_File(int stage) const; // B1.sx .. B5.sx in the private folder
    void Pass_On(int stage, const QString& input, const QString& output) const;
    bool Put_Result(const QString& composed);
    void Remove_Stale_Work_Folders() const;

    int m_maximum = 0;
    int m_messages = 0;
    QString m_work; // the private folder of the running Compose, with '/'
    std::array<QByteArray, Bank_Count> m_merged; // the images the stages merged
};
