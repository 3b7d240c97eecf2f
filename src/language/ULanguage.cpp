#include "language/ULanguage.h"

#include <algorithm>

#include "app/UComon.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

struct Default_Text {
    int index;
    const char16_t* text;
};

// Slots not listed hold a single blank.
constexpr Default_Text Default_Texts[] = {
    {0, u"Begin"},
    {1, u"Step 1"},
    {2, u"Step 2"},
    {3, u"Step 3"},
    {4, u"Step 4"},
    {5, u"Step 5"},
    {6, u"Step 6"},
    {7, u"Step 7"},
    {8, u"Step 8"},
    {9, u"None Configuration Opened "},
    {10, u"Use Step1 to open or create new configuration"},
    {11, u"Opened Configuration of the Converter : "},
    {12, u"Information"},
    {13, u"Options"},
    {14, u"Close Configurator"},
    {15, u"New Configuration"},
    {16, u"Open Configuration"},
    {17, u"Update Device"},
    {18, u"Error! Project not Valid"},
    {19, u"New Version Available. Click Here for more Details"},
    {20, u"Set Communication"},
    {21, u"Receive Frames"},
    {22, u"Send Frames"},
    {23, u"Create a new configuration for the device"},
    {24, u"Open an exists configuration"},
    {25, u"Set the main parameters of Protocols"},
    {26, u"Set rules for Receive J1939 Frames"},
    {27, u"Set rules for Transmit J1939 Frames"},
    {28, u"Update the actual Firmware and/or Configuration in the device"},
    {29, u"The settings file that could not be read was kept as "},
    {30, u"The settings file that could not be read could not be kept and is not replaced: "},
    {31, u"Error! The settings file cannot store the name of the configuration: "},
    {32, u"Tools"},
    {33, u"The program folder cannot be written. Configurations, firmware master files and "
         u"settings are kept in: "},
    {100, u"Create New Configuration"},
    {101, u"Create New Configuration"},
    {102, u"Name of the new Configuration"},
    {103, u"OK"},
    {104, u"Cancel"},
    {105, u"Error! Name project is not valid"},
    {106, u"Error! Name project is not valid because directory already exists"},
    {107, u"Error! Name Project is not valid"},
    {108, u"Insert here the name of new configuration"},
    {109, u"Confirm the Name of new Configuration"},
    {110, u"Cancel the New Configuration"},
    {111, u"Error! The folder of the configuration does not exist: "},
    {112, u"Error! The folder of the configurations does not exist: "},
    {113, u"Duplicate"},
    {114, u"Rename"},
    {115, u"Delete"},
    {116, u"Copy the selected configuration under a new name"},
    {117, u"Give the selected configuration a new name"},
    {118, u"Delete the selected configuration"},
    {119, u"Open"},
    {120, u"Type here to show only the configurations whose name holds the text"},
    {121, u"Filter the list"},
    {122, u"Folder of the configurations: "},
    {123, u"Duplicate Configuration"},
    {124, u"Name of the copy of "},
    {125, u"Rename Configuration"},
    {126, u"New name of "},
    {127, u"Do you want to delete the configuration "},
    {128, u"?"},
    {129, u"The configuration is open and is closed first. Do you want to delete the configuration "},
    {130, u"Error! The configuration could not be copied: "},
    {131, u"Error! The configuration could not be deleted: "},
    {132, u"Yes"},
    {133, u"No"},
    {134, u"OK"},
    {135, u"Cancel"},
    {200, u"Open Configuration"},
    {201, u"Open an Existing Configuration"},
    {202, u"List of Avaliable Configurations"},
    {203, u"OK"},
    {204, u"Cancel"},
    {205, u"Select from this list the configuration to open"},
    {206, u"Open the Selected Configuration"},
    {207, u"Cancel open of Configuration"},
    {208, u"Line "},
    {209, u": not a CAN frame of a candump or Vector ASC log"},
    {210, u"Bus Check"},
    {211, u"Bus Check…"},
    {212, u"Open Log…"},
    {213, u"Start"},
    {214, u"Stop"},
    {215, u"Close"},
    {216, u"Row"},
    {217, u"Data Page"},
    {218, u"PGN"},
    {219, u"Source Address"},
    {220, u"Seen"},
    {221, u"Count"},
    {222, u"Period (ms)"},
    {223, u"Last Data"},
    {224, u"Data Offset"},
    {225, u"Data Area"},
    {226, u"Not in the Table"},
    {227, u"Size"},
    {228, u"Add to Table"},
    {229, u"Address Trouble"},
    {230, u" frames use the converter's address "},
    {231, u" address claims for the converter's address "},
    {232, u" frames from the null address 254"},
    {233, u" frames from the global address 255"},
    {234, u"Row "},
    {235, u" takes frames from several senders: "},
    {236, u"yes"},
    {237, u"no"},
    {238, u"CAN Logs (*.log *.asc *.txt);;All Files (*)"},
    {239, u"Open the receive table to add rows to it"},
    {240, u"Frames: "},
    {241, u", dropped by the adapter: "},
    {242, u"The CAN interface cannot be opened: "},
    {243, u"The receive table has no free row."},
    {244, u"Check the receive table against a CAN log or a live CAN interface"},
    {245, u"Plugin"},
    {246, u"Interface"},
    {247, u"No address trouble"},
    {248, u"Adds the selected frame to the receive table as a new row (Ctrl+Z undoes it)"},
    {300, u"Software Options"},
    {301, u"Software Options"},
    {302, u"Language"},
    {303, u"Connection Options"},
    {304, u"Selected Language : "},
    {305, u"Page "},
    {306, u" / "},
    {307, u"Previous"},
    {308, u"Next"},
    {309, u"Enable Internet Connection"},
    {310, u"Check Software Update at Start of Program"},
    {311, u"Check Available Update"},
    {312, u"OK"},
    {313, u"Cancel"},
    {314, u"New Version Available. Click Here for more Details"},
    {315, u"No Update Available"},
    {316, u"Do you want to change the Language from "},
    {317, u" to "},
    {318, u"?"},
    {319, u"Software Settings"},
    {320, u"Jump into next field in the tables by pressing the Enter Key"},
    {321, u"Enable Auto Size of Table Columns by Double Click"},
    {400, u"Set Communication"},
    {401, u"Set Communication Setting"},
    {402, u" Select Device "},
    {403, u"Device Without Ethernet Port"},
    {404, u"Device With Ethernet Port"},
    {405, u" J1939 "},
    {406, u"Baudrate"},
    {407, u"Send Type"},
    {408, u"On Data Change"},
    {409, u"On Timer"},
    {410, u"Send Timer ms"},
    {411, u"TimeOut Data (s)"},
    {412, u"Enable Peer to Peer"},
    {413, u" DeviceNet Slave "},
    {414, u"ID Device"},
    {415, u"Baudrate"},
    {416, u" Ethernet "},
    {417, u"IP ADDRESS"},
    {418, u"SUBNET Mask"},
    {419, u"GATEWAY"},
    {420, u"Collapse"},
    {421, u"Expand"},
    {422, u"Select the Type Hardware"},
    {423, u"Select the Baudrate of J1939 port"},
    {424, u"Select the type to send the J1939 frames"},
    {425, u"Insert the time in  milliseconds between two send frames (between 1 and 65535 milliseconds)"},
    {426, u"Insert the TimeOut of Data (between 0 and 10000 seconds)"},
    {427, u"Enable/disable the Peer to Peer option"},
    {428, u"Insert the DeviceNet Slave ID Device (between 0 and 63)"},
    {429, u"Select the Baudrate of DeviceNet Slave port"},
    {430, u"Insert here the first byte of IP Address"},
    {431, u"Insert here the second byte of IP Address"},
    {432, u"Insert here the third byte of IP Address"},
    {433, u"Insert here the fourth byte of IP Address"},
    {434, u"Insert here the first byte of SubNet Mask"},
    {435, u"Insert here the second byte of SubNet Mask"},
    {436, u"Insert here the third byte of SubNet Mask"},
    {437, u"Insert here the fourth byte of SubNet Mask"},
    {438, u"Enable/disable the Default Gateway"},
    {439, u"Insert here the first byte of Default Gateway"},
    {440, u"Insert here the second byte of Default Gateway"},
    {441, u"Insert here the third byte of Default Gateway"},
    {442, u"Insert here the fourth byte of Default Gateway"},
    {443, u"Error J1939!! Send Timer must be between 1 and 65535 ms"},
    {444, u"Error J1939!! TimeOut Data must be between 0 and 10000 seconds"},
    {445, u"Error DeviceNet Slave!! ID Device must be between 0 and 63"},
    {446, u"Error Ethernet!! IP Address 1 must be between 0 and 255"},
    {447, u"Error Ethernet!! IP Address 2 must be between 0 and 255"},
    {448, u"Error Ethernet!! IP Address 3 must be between 0 and 255"},
    {449, u"Error Ethernet!! IP Address 4 must be between 0 and 255"},
    {450, u"Error Ethernet!! SUBNET Mask 1 must be between 0 and 255"},
    {451, u"Error Ethernet!! SUBNET Mask 2 must be between 0 and 255"},
    {452, u"Error Ethernet!! SUBNET Mask 3 must be between 0 and 255"},
    {453, u"Error Ethernet!! SUBNET Mask 4 must be between 0 and 255"},
    {454, u"Error Ethernet!! GATEWAY IP 1 must be between 0 and 255"},
    {455, u"Error Ethernet!! GATEWAY IP 2 must be between 0 and 255"},
    {456, u"Error Ethernet!! GATEWAY IP 3 must be between 0 and 255"},
    {457, u"Error Ethernet!! GATEWAY IP 4 must be between 0 and 255"},
    {458, u"Do you want to exit without saving changes?"},
    {459, u"Error J1939!! Device ID J1939 must be between 0 and 239"},
    {460, u"Device ID J1939"},
    {461, u"Insert the Device ID of J1939"},
    {462, u"The device without Ethernet port keeps only 16 rows in each frame table."},
    {463, u" - rows that will not be kept: "},
    {464, u"Save the settings anyway?"},
    {465, u"Commissioning report..."},
    {466, u"Print commissioning report..."},
    {467, u"Commissioning report"},
    {468, u"Configuration: "},
    {469, u"Folder: "},
    {470, u"Date and time: "},
    {471, u"Program version: "},
    {472, u"Device type: "},
    {473, u"Communication settings"},
    {474, u"Setting"},
    {475, u"Stored value"},
    {476, u"Meaning"},
    {477, u" bit/s"},
    {479, u"Data byte map"},
    {481, u"Row"},
    {482, u"Offset"},
    {483, u"Bytes"},
    {485, u"Receive data: "},
    {486, u"Transmit data: "},
    {488, u" bytes of "},
    {489, u" - more than the device can hold"},
    {490, u"Data area (one box per row, bytes from the offset at the left)"},
    {491, u"Bank files and firmware file"},
    {492, u"File"},
    {493, u"SHA-256"},
    {494, u"not present"},
    {495, u"Bank 2 checksum stored: "},
    {496, u"Bank 2 checksum computed: "},
    {497, u"matches"},
    {498, u"DOES NOT MATCH"},
    {501, u"none"},
    {502, u"Check failures"},
    {503, u"These rows fail the checks that the editors run on OK; the report shows the configuration as it is stored."},
    {504, u"Page "},
    {505, u" / "},
    {506, u"Last device updates"},
    {507, u"Save the commissioning report as PDF"},
    {508, u"PDF files (*.pdf)"},
    {509, u"The report was written to "},
    {510, u"yes"},
    {511, u"no"},
    {512, u"not used"},
    {513, u" ms"},
    {514, u" s"},
    {515, u"Bank 2 checksum: "},
    {516, u"not checked, the file's size in bytes is "},
    {517, u"R"},
    {518, u"T"},
    {519, u"Earlier records not shown: "},
    {520, u"J1939 warnings"},
    {530, u"The update goes on, but this file could not record it: "},
    {531, u". Reason: "},
    {532, u"Compare Configurations…"},
    {533, u"Compare Configurations"},
    {534, u"Configuration A"},
    {535, u"Configuration B"},
    {536, u"Close"},
    {537, u"File"},
    {538, u"Row"},
    {539, u"Column"},
    {540, u"Value in A"},
    {541, u"Value in B"},
    {542, u"The two configurations store the same values."},
    {543, u"Row only in A"},
    {544, u"Row only in B"},
    {545, u"Differences: "},
    {546, u"Choose two configurations."},
    {600, u"Receive J1939 Frames"},
    {601, u"Receive J1939 Frames"},
    {602, u"OK"},
    {603, u"Cancel"},
    {604, u"Delete Row"},
    {605, u"Insert Row"},
    {606, u"Copy Row"},
    {607, u"Paste Row"},
    {608, u"Confirm and save the Receive J1939 List"},
    {609, u"Exit without save the Receive J1939 List"},
    {610, u"Delete the selected Row in the table"},
    {611, u"Insert a Row in the Table"},
    {612, u"Copy all Fields of the Selected Row"},
    {613, u"Paste the Copied Fields in the Selected Row"},
    {614, u"N"},
    {615, u"Data Page"},
    {616, u"PGN"},
    {617, u"Source Address"},
    {618, u"Transport Protocol"},
    {619, u"Start Byte"},
    {620, u"Num Bytes"},
    {621, u"Cancel Data"},
    {622, u"On Request"},
    {623, u"Time(ms)"},
    {624, u"Mnemonic"},
    {625, u"Data Page of J1939 Frame (0 or 1)"},
    {626, u"PGN of J1939 Frame"},
    {627, u"Source Address of J1939 Frame"},
    {628, u"Enable/Disable the Transport Protocol for the J1939 Frame"},
    {629, u"Start Byte is the Index of First Byte to Save"},
    {630, u"Number of Byte to Save in the J1939 Frame"},
    {631, u"Enable/Disable the Cancel Data if not arrive the J1939 Frame within the TimeOut"},
    {632, u"Enable/Disable the Remote Request of J1939 Frame"},
    {633, u"Time Between Two J1939 Remote Request in milliseconds"},
    {634, u"Description of the J1939 Frame"},
    {635, u"Error in row "},
    {636, u"!! DataPage must be 0 or 1"},
    {637, u"!! PGN must be between 0x00000 and 0xFFFF"},
    {638, u"!! Source Address must be between 0 and 255"},
    {639, u"!! Start Byte must be between 0 and 1785"},
    {640, u"!! Start Byte plus Number Bytes must be between 0 and 455"},
    {641, u"!! The Configuration use more of 455 bytes"},
    {642, u"!! Time(ms) must be between 0 and 10000000"},
    {643, u"Are you sure to delete the Row number "},
    {644, u"A row with an empty PGN ends the table that is saved. These rows will not be saved: "},
    {645, u". Save without them?"},
    {646, u"Inserting a row drops the last row of the table (row "},
    {647, u"), which holds values. Insert the row?"},
    {648, u"The file of this table holds "},
    {649, u" rows, but the table keeps only "},
    {650, u": the other rows will not be saved. Save the table?"},
    {700, u"Transmit J1939 Frames"},
    {701, u"Transmit J1939 Frames"},
    {702, u"OK"},
    {703, u"Cancel"},
    {704, u"Delete Row"},
    {705, u"Insert Row"},
    {706, u"Copy Row"},
    {707, u"Paste Row"},
    {708, u"Confirm and save the Transmit J1939 List"},
    {709, u"Exit without save the Transmit J1939 List"},
    {710, u"Delete the selected Row in the table"},
    {711, u"Insert a Row in the Table"},
    {712, u"Copy all Fields of the Selected Row"},
    {713, u"Paste the Copied Fields in the Selected Row"},
    {714, u"N"},
    {715, u"Priority"},
    {716, u"Data Page"},
    {717, u"PGN"},
    {718, u"Source Address"},
    {719, u"Num Byte"},
    {720, u"On Request"},
    {721, u"Data Change"},
    {722, u"On Timer"},
    {723, u"Time(ms)"},
    {724, u"Mnemonic"},
    {725, u"Priority of J1939 Frame (0 or 7)"},
    {726, u"Data Page of J1939 Frame (0 or 1)"},
    {727, u"PGN of J1939 Frame"},
    {728, u"Source Address of J1939 Frame"},
    {729, u"Number of Byte to Send in the J1939 Frame"},
    {730, u"Enable/Disable the Transmition of J1939 Frame on Request"},
    {731, u"Enable/Disable the Transmition of J1939 Frame on Data Change"},
    {732, u"Enable/Disable the Transmition of J1939 Frame on Timer"},
    {733, u"Time Between Two J1939 Frame in milliseconds if On Timer is Selected"},
    {734, u"Description of the J1939 Frame"},
    {735, u"Error in row "},
    {736, u"!! Priority must be between 0 and 7"},
    {737, u"!! DataPage must be 0 or 1"},
    {738, u"!! PGN must be between 0x00000 and 0xFFFF"},
    {739, u"!! Source Address must be between 0 and 255"},
    {740, u"!! Number Bytes must be between 0 and 455"},
    {741, u"!! The Configuration use more of 455 bytes"},
    {742, u"!! Time(ms) must be between 0 and 10000000ms"},
    {743, u"Are you sure to delete the Row number "},
    {744, u"A row with an empty Priority ends the table that is saved. These rows will not be saved: "},
    {800, u"Update Device by Serial"},
    {801, u"Update Device Using the Serial Port"},
    {802, u"Update Device by Ethernet (UDP)"},
    {803, u"Update Device Using the Ethernet Port"},
    {804, u"Update Device by USB"},
    {805, u"Update Device Using the USB Port"},
    {806, u"Insert the IP Address of Device"},
    {807, u"Select the COM Port for the Update"},
    {808, u"Select the COM Port (USB) for the Update"},
    {809, u"List of Devices Find in Network"},
    {810, u"Search"},
    {811, u"IP Address"},
    {812, u"MAC Address"},
    {813, u"Find all Zorvek Devices"},
    {814, u"Select Update Options"},
    {815, u"Firmware + Configuration"},
    {816, u"Firmware"},
    {817, u"Configuration"},
    {818, u"Read Back"},
    {819, u"Cancel"},
    {820, u"Execute Update Firmware"},
    {821, u"Insert first byte of IP Address"},
    {822, u"Insert second byte of IP Address"},
    {823, u"Insert third byte of IP Address"},
    {824, u"Insert fourth byte of IP Address"},
    {825, u"Select the COM Port to use for the Update"},
    {826, u"Select the COM Port (USB) to use for the Update"},
    {827, u"Update COM Ports List"},
    {828, u"Update COM Ports (USB) List"},
    {829, u"Serch Zorvek Device in Network"},
    {830, u"Select a device in the list"},
    {831, u"Enable or disable the option to find all Zorvek Devices"},
    {832, u"Select the operation to do in update"},
    {833, u"Enable or disable the possibility to read back the Firmware/Configuration"},
    {834, u"Exit without to do the Update"},
    {835, u"Start the update of Device"},
    {836, u"Device Not Found!"},
    {837, u"Error!!! Check the Ip Address"},
    {838, u"Checking that the device answers ..."},
    {839, u"The update tool is running: "},
    {840, u" s"},
    {841, u"The update tool has ended with exit status "},
    {842, u"The update tool has ended abnormally"},
    {843, u"The update tool is still running after the waiting time"},
    {844, u"The update tool started before is still running. Wait until it has ended."},
    {845, u"Error! Firmware File not Found: "},
    {846, u"Error! Configuration File not Found: "},
    {847, u"Error! Configuration File not Valid: "},
    {848, u"Error! Configuration File changed after it was written: "},
    {849, u"Error! No configuration compiled in this update"},
    {850, u"Keys of the main window: Alt+1 or Ctrl+N new configuration, Ctrl+O open, Alt+2 to Alt+5 steps 2 to 5, F1 information, Ctrl+, options, Ctrl+Q close"},
    {851, u" (present)"},
    {900, u"Row Already used. Do you want to overwrite the values?"},
    {901, u"Error in the Copy values!!! Copy a valid row before Paste it"},
    {902, u"Error!!! Copy a valid row before Paste it"},
    {903, u"Source address 254 (null) or 255 (global) never sends data: enter the address of the node that sends this PGN"},
    {904, u"The source address is the converter's own address and peer-to-peer is off: enter the address of the sending node, or enable peer-to-peer"},
    {905, u"The converter sends with its own address: set the source address to "},
    {906, u"Delete or change this row: the same data page, PGN and source address are already in row "},
    {907, u"Start Byte + Num Bytes is above 8: tick Transport Protocol for a multi-packet PGN, or keep the bytes within the first 8"},
    {908, u"PDU1 PGN sent to another node: the converter receives it only when its low byte (the destination address) is 255 or the converter's own address "},
    {909, u"This PGN belongs to the J1939 network management (request, address claim, transport protocol, acknowledgement, commanded address), which the protocol handles itself: remove the row"},
    {910, u" error: "},
    {911, u" errors: "},
    {912, u"row "},
    {913, u" warning: "},
    {914, u" warnings: "},
    {915, u"Bytes used: "},
    {916, u" of "},
    {917, u"Rows: "},
    {922, u" *"},
    {918, u"Undo"},
    {919, u"Redo"},
    {920, u"Undo the last change of the table (Ctrl+Z)"},
    {921, u"Redo the last change undone (Ctrl+Y or Ctrl+Shift+Z)"},
    {923, u"Hexadecimal numbers need a prefix (0x, x or $): write 0x"},
    {924, u"Import / Export"},
    {925, u"Add rows from a DBC database or a CSV file, or save the table as a CSV file"},
    {926, u"Import DBC file…"},
    {927, u"Import CSV file…"},
    {928, u"Export CSV file…"},
    {929, u"Import J1939 messages: "},
    {930, u"Search by name or PGN"},
    {931, u"All"},
    {932, u"None"},
    {933, u"Message"},
    {934, u"Bytes"},
    {935, u"Sender"},
    {936, u"Signals"},
    {937, u"Source address of the rows:"},
    {938, u"254 (null) and 255 (global) are placeholders no node sends with: enter the address of the node that sends these messages"},
    {939, u"Ticked: "},
    {940, u" left"},
    {941, u"Too many rows for the table: untick some messages"},
    {942, u"More than the 455 bytes the configuration can use: untick some messages"},
    {943, u"Tick the messages to import"},
    {944, u"The source address must be between 0 and 255"},
    {945, u"Rows imported: "},
    {946, u"Skipped "},
    {947, u"not a CAN identifier"},
    {948, u"standard 11-bit frame; the tables hold J1939 frames only"},
    {949, u"the extended data page bit is set"},
    {950, u"larger than the table allows (at most 455 bytes)"},
    {951, u"holds no data bytes"},
    {952, u"same data page, PGN and source address as row "},
    {953, u"no room left in the table"},
    {954, u"The file cannot be read: "},
    {955, u"Replace the rows of the table with those of the file, or append them after the last filled row?"},
    {956, u"Replace"},
    {957, u"Append"},
    {958, u"Columns not imported (not in the table): "},
    {959, u"The rows of the file do not fit into the table. Rows: "},
};

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; unassigned bytes map to themselves.
constexpr char16_t Cp1252_High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool Parse_Index(const QString& text, int& out)
{
    // The whole text must be an integer: optional sign and decimal digits only.
    if (text.isEmpty())
        return false;
    qsizetype i = 0;
    bool neg = false;
    if (text.at(0) == QLatin1Char('+') || text.at(0) == QLatin1Char('-')) {
        neg = text.at(0) == QLatin1Char('-');
        i = 1;
    }
    if (i >= text.size())
        return false;
    qint64 v = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        v = v * 10 + (c.unicode() - '0');
        if (v > 0x7FFFFFFFLL + 1)
            return false;
    }
    v = neg ? -v : v;
    if (v > 0x7FFFFFFFLL)
        return false;
    out = int(v);
    return true;
}

} // namespace

QString Msg(int n)
{
    if (n < 0 || n >= Shared.Lang_Table.size())
        return QStringLiteral(" ");
    return Shared.Lang_Table.at(n);
}

QString Default_Msg(int n)
{
    for (const auto& d : Default_Texts)
        if (d.index == n)
            return QString::fromUtf16(d.text);
    return QStringLiteral(" ");
}

void Load_Default_Language()
{
    Shared.Lang_Table.clear();
    Shared.Lang_Table.reserve(1000);
    for (int i = 0; i < 1000; ++i)
        Shared.Lang_Table.append(QStringLiteral(" "));
    for (const auto& d : Default_Texts)
        Shared.Lang_Table[d.index] = QString::fromUtf16(d.text);
    Shared.Lang_Count = 1000;
}

QString Decode_Lng_Bytes(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder d(QStringDecoder::Utf16LE);
        return d(bytes.mid(2));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        QStringDecoder d(QStringDecoder::Utf16BE);
        return d(bytes.mid(2));
    }
    // Most editors save UTF-8 without a mark; read as Windows-1252 every accented letter
    // would turn into two. Windows-1252 text with accents is almost never valid UTF-8.
    if (std::any_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x80; })) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8(bytes);
        if (!utf8.hasError())
            return text;
    }
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out.append(QChar(b >= 0x80 && b < 0xA0 ? Cp1252_High[b - 0x80] : char16_t(b)));
    }
    return out;
}

void Apply_Lng_Line(const QString& line)
{
    const QString L = Trim_Ctrl(line);
    if (!L.startsWith(QLatin1String("STR")))
        return;

    // Index: from after "STR" up to, but not including, the character just before "=".
    const qsizetype eq = L.indexOf(QLatin1Char('='));
    if (eq < 0)
        return;
    const qsizetype len = eq - 3; // chars between "STR" and "="
    const QString indexText = len > 0 ? L.mid(3, len).trimmed() : QString();
    int index = -1;
    if (!Parse_Index(indexText, index))
        index = -1;
    if (index < 0 || index >= Shared.Lang_Count || index >= Shared.Lang_Table.size())
        return;

    QString text = Trim_Ctrl(L.mid(eq + 1));
    if (text.isEmpty())
        return;
    const qsizetype comment = text.indexOf(QLatin1String("/#/"));
    if (comment >= 0) {
        text = Trim_Ctrl(text.left(comment));
        if (text.isEmpty())
            return;
    }
    const QChar pilcrow(0x00B6);
    if (text.at(0) == pilcrow)
        text.remove(0, 1);
    const qsizetype close = text.indexOf(pilcrow);
    if (close >= 0)
        text.truncate(close);
    Shared.Lang_Table[index] = text;
}

bool Read_Lng_File(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QString all = Decode_Lng_Bytes(f.readAll());
    // CR LF, LF or CR end a line.
    qsizetype start = 0;
    const qsizetype n = all.size();
    for (qsizetype i = 0; i <= n; ++i) {
        if (i == n || all.at(i) == QLatin1Char('\r') || all.at(i) == QLatin1Char('\n')) {
            if (i > start || i < n)
                Apply_Lng_Line(all.mid(start, i - start));
            if (i < n && all.at(i) == QLatin1Char('\r') && i + 1 < n
                && all.at(i + 1) == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    return true;
}

void Load_Language()
{
    Load_Default_Language();
    // A name that would leave the language folder is never used to build a path; it is kept
    // as read, and the English texts are shown.
    if (!Is_Unsafe_Path_Name(Shared.Language_Name)) {
        const QString file = Path_Join(Shared.Dir_Language, Shared.Language_Name + ".lng");
        if (QFileInfo(file).isFile()) {
            Read_Lng_File(file);
            return;
        }
        Shared.Language_Name = QStringLiteral("English");
    }
    const QString english = Path_Join(Shared.Dir_Language, QStringLiteral("English.lng"));
    if (QFileInfo(english).isFile())
        Read_Lng_File(english);
}
