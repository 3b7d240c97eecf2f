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
// and 2 exist, so stages 3 to 5 always pass on; the last one puts the result in place.
// The folders end with '/', as the window keeps them.
class Sx_Composer final {
public:
    QString NomeDirSxNew;  // output folder, also of the intermediate files
    QString NomeFileSxNew; // result file name
    QString NomeDirBin;    // folder of the images; empty when there is none
    std::array<bool, Stage_Count> Merge_Switch{true, true, false, false, false};

    // Plain messages of a stop, in the order they arise.
    std::function<void(const QString&)> On_Message;
    // Progress of the running stage: value out of maximum (0: the maximum stays as it is).
    std::function<void(int value, int maximum)> On_Progress;

    // -1: the stage stopped (with a message, or silently when the input has no S9 line);
    // 1: the bank was merged. Throws App_Error when a file cannot be read or written.
    int Merge_Bank(int bank, const QString& outName, const QString& input);

    // Runs the five stages from `firmware`. True only when this run wrote the result file;
    // after a stop the previous result stays as it was. The intermediate files are gone
    // afterwards, also after a stop or an error (App_Error).
    bool Compose(const QString& firmware);

    // Per stage of the last Compose: the result of Merge_Bank, 0 for a stage that passed its
    // input on, empty for a stage that did not run.
    std::array<std::optional<int>, Stage_Count> Stage_Result{};

    QString Result_Path() const { return NomeDirSxNew + NomeFileSxNew; }
    QString Stage_File(int stage) const; // B1.sx .. B5.sx in the output folder

private:
    void Message(const QString& text) const;
    void Progress(int value) const;
    void Pass_On(int stage, const QString& input, const QString& output) const;

    int m_maximum = 0;
};
