#!/usr/bin/env python3
"""Reads the files of a sample export with parsers of their own: the .ics files with
icalendar, the .vcf file with vobject, and expands each repeating appointment with
dateutil.rrule over 2007, comparing the days with the handheld's repeat rules worked out
here day by day.
usage: check_written_files.py EXPORT_SAMPLES_PROGRAM WORK_FOLDER"""
import calendar
import datetime as dt
import subprocess
import sys
from pathlib import Path

import icalendar
import vobject
from dateutil import rrule

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def weekly(start, interval, days, first_day, until):
    """Days (0 Sunday) of every interval-th week counted from the start's week."""
    week_start = start - dt.timedelta(days=(start.isoweekday() % 7 - first_day) % 7)
    day = start
    while day <= until:
        week = (day - week_start).days // 7
        if week % interval == 0 and day.isoweekday() % 7 in days:
            yield day
        day += dt.timedelta(days=1)


def monthly_by_day(start, interval, week, weekday, until):
    """The week-th (0..3, 4 the last) weekday (0 Sunday) of every interval-th month."""
    month_index = start.year * 12 + start.month - 1
    while True:
        year, month = divmod(month_index, 12)
        month += 1
        days = [dt.date(year, month, d) for d in range(1, calendar.monthrange(year, month)[1] + 1)
                if dt.date(year, month, d).isoweekday() % 7 == weekday]
        day = days[-1] if week == 4 else days[week]
        if day > until:
            return
        if day >= start:
            yield day
        month_index += interval


def every(start, step_days, until):
    day = start
    while day <= until:
        yield day
        day += dt.timedelta(days=step_days)


def yearly(start, until):
    year = start.year
    while dt.date(year, start.month, start.day) <= until:
        yield dt.date(year, start.month, start.day)
        year += 1


YEAR_END = dt.date(2007, 12, 31)
# What the handheld shows in 2007 for each repeating appointment of export_samples.
EXPECTED = {
    "Team meeting": set(weekly(dt.date(2007, 1, 2), 2, {2, 4}, 0, dt.date(2007, 6, 30)))
    - {dt.date(2007, 1, 16), dt.date(2007, 3, 1)},
    "Book club": set(monthly_by_day(dt.date(2007, 1, 10), 1, 1, 3, YEAR_END)) - {dt.date(2007, 5, 9)},
    "Rent": set(monthly_by_day(dt.date(2007, 1, 26), 1, 4, 5, dt.date(2007, 10, 26)))
    - {dt.date(2007, 6, 29)},
    "Birthday": set(yearly(dt.date(2007, 2, 28), YEAR_END)),
    "Gym": set(every(dt.date(2007, 1, 1), 3, dt.date(2007, 1, 31))),
    "Yoga": set(weekly(dt.date(2007, 1, 3), 1, {1, 5}, 1, dt.date(2007, 2, 28))),
}


def occurrences(event):
    """The days an event falls on in 2007, by dateutil, less its EXDATEs."""
    start = event.decoded("DTSTART")
    rule = event.get("RRULE")
    if rule is None:
        days = {start}
    else:
        text = rule.to_ical().decode()
        check(type(rule["UNTIL"][0]) is type(start) if "UNTIL" in rule else True,
              f"UNTIL of {event['SUMMARY']} has another type than DTSTART")
        # dateutil counts in date-times: an untimed series starts at midnight.
        first = start if isinstance(start, dt.datetime) else dt.datetime.combine(start, dt.time())
        days = set(rrule.rrulestr(text, dtstart=first).between(first, dt.datetime(2008, 1, 1), inc=True))
    excluded = set()
    days = {(day.date() if isinstance(day, dt.datetime) else day) for day in days}
    exdates = event.get("EXDATE")
    for entry in (exdates if isinstance(exdates, list) else [exdates] if exdates else []):
        excluded.update((value.dt.date() if isinstance(value.dt, dt.datetime) else value.dt)
                        for value in entry.dts)
    return days - excluded


def check_appointments(path):
    calendar_ = icalendar.Calendar.from_ical(path.read_bytes())
    events = {str(event["SUMMARY"]): event for event in calendar_.walk("VEVENT")}
    check(len(events) == 7, f"7 events, not {len(events)}")
    for summary, expected in EXPECTED.items():
        event = events.get(summary)
        check(event is not None, f"{summary} missing")
        if event is None:
            continue
        got = occurrences(event)
        check(got == expected, f"{summary}: {sorted(got ^ expected)} differ")
        start = event.decoded("DTSTART")
        untimed = summary in ("Rent", "Birthday")
        check(isinstance(start, dt.date) and isinstance(start, dt.datetime) != untimed,
              f"{summary}: DTSTART {start!r}")
        if isinstance(start, dt.datetime):
            check(start.tzinfo is None, f"{summary}: not a floating time")
    meeting = events["Team meeting"]
    check(meeting.decoded("DTSTART") == dt.datetime(2007, 1, 2, 10, 0), "meeting start")
    check(meeting.decoded("DTEND") == dt.datetime(2007, 1, 2, 11, 0), "meeting end")
    alarms = {str(event["SUMMARY"]): event.walk("VALARM")[0].decoded("TRIGGER")
              for event in events.values() if event.walk("VALARM")}
    check(alarms == {"Team meeting": -dt.timedelta(minutes=15), "Birthday": -dt.timedelta(days=1),
                     "Gym": -dt.timedelta(hours=2)}, f"alarms {alarms}")
    check(events["Yoga"].decoded("DTSTART") == dt.datetime(2007, 1, 5, 18, 30), "Yoga starts on its first Friday")
    rent = events["Rent"]
    check(rent.decoded("DTEND") == dt.date(2007, 1, 27), "an untimed day ends the next day")
    lunch = [event for summary, event in events.items() if summary.startswith("Lunch")][0]
    check(str(lunch["SUMMARY"]) == 'Lunch with Jo; bring the "big" book, and \\ the umbrella \u20ac ' * 3,
          f"summary {lunch['SUMMARY']!r}")
    check(str(lunch["DESCRIPTION"]) == "Line one\nLine two, with comma; and semicolon", "note")
    check(str(lunch["CLASS"]) == "PRIVATE", "private")
    # icalendar 4.0 splits a category list at escaped commas too; vobject reads it right.
    categories = [event.categories.value for event in vobject.readOne(path.read_text(encoding="utf-8")).vevent_list
                  if hasattr(event, "categories")]
    check(categories == [["Business, old"]], f"categories {categories}")
    for line in path.read_bytes().split(b"\r\n"):
        check(len(line) <= 75, f"a line of {len(line)} octets")


def check_todos(path):
    todos = icalendar.Calendar.from_ical(path.read_bytes()).walk("VTODO")
    check(len(todos) == 2, f"2 to-dos, not {len(todos)}")
    taxes, fence = todos
    check(str(taxes["SUMMARY"]) == "Taxes, finally", "summary")
    check(taxes.decoded("DUE") == dt.date(2007, 4, 15) and not isinstance(taxes.decoded("DUE"), dt.datetime),
          "due date as DATE")
    check(int(taxes["PRIORITY"]) == 1 and int(fence["PRIORITY"]) == 9, "priorities")
    check(str(taxes["STATUS"]) == "NEEDS-ACTION" and str(fence["STATUS"]) == "COMPLETED", "status")
    check(str(taxes["DESCRIPTION"]) == "Forms:\nW-2", "note")
    check("DUE" not in fence, "no due date")


def check_addresses(path):
    cards = list(vobject.readComponents(path.read_text(encoding="utf-8")))
    check(len(cards) == 2, f"2 cards, not {len(cards)}")
    jo, firm = cards
    check(jo.version.value == "3.0", "version")
    check(jo.n.value.family == "M\u00fcller" and jo.n.value.given == "Jo", f"name {jo.n.value!r}")
    check(jo.fn.value == "Jo M\u00fcller", "formatted name")
    check(jo.org.value == ["Acme, Inc."], f"org {jo.org.value!r}")
    tels = {tel.value: sorted(t.upper() for t in tel.params["TYPE"]) for tel in jo.contents["tel"]}
    check(tels == {"+49 30 1234": ["VOICE", "WORK"], "+49 171 5555": ["CELL", "PREF"]}, f"phones {tels}")
    check(jo.email.value == "jo@example.org", "e-mail")
    adr = jo.adr.value
    check((adr.street, adr.city, adr.code, adr.country) == ("Hauptstr. 1", "Berlin", "10115", "Germany"),
          f"address {adr!r}")
    check(jo.note.value == "Met at the fair;\nlikes tea, not coffee", f"note {jo.note.value!r}")
    custom = jo.contents["x-palm-custom1"][0]
    check(custom.value == "1970-05-01" and custom.params["X-LABEL"] == ["Birthday"], "custom field")
    check(jo.categories.value == ["Business, old"], f"categories {jo.categories.value!r}")
    check(firm.fn.value == "Palm Computing", "a company's card is named after it")


def main():
    program, work = sys.argv[1], Path(sys.argv[2])
    subprocess.run([program, str(work)], check=True)
    check_appointments(work / "appointments.ics")
    check_todos(work / "todos.ics")
    check_addresses(work / "addresses.vcf")
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
