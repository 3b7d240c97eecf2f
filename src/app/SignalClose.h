#pragma once

class QWidget;

// Makes SIGINT and SIGTERM close `window` through its normal close handler (POSIX only).
void Close_On_Signals(QWidget* window);
