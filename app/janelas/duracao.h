#pragma once

#include <QLocale>
#include <QString>

// A duration written as hours, minutes and seconds in the locale's long time pattern.
// The pattern is meant for a time of day: its time zone and its AM/PM marker are left
// out, and the hours count on past 23 instead of wrapping.
QString formatarDuracao(qint64 milissegundos, const QLocale& locale);
