#!/usr/bin/perl
# Writes Memo Pad, Address Book, To Do and Date Book databases with Perl's Palm modules,
# in many field combinations, reads them back with the same modules and prints, as JSON,
# for each database its app info block's bytes and the modules' reading of it, and for
# each record its bytes, attribute byte and unique ID (from the file's record list) and
# the fields as the modules read them. Texts are Windows-1252 bytes, one JSON character
# a byte.
# usage: palm_perl_records.pl WORK_FOLDER > records.json
use strict;
use warnings;
use JSON::PP;
use Palm::PDB;
use Palm::Memo;
use Palm::Address;
use Palm::ToDo;
use Palm::Datebook;

my ($work) = @ARGV;
die "usage: $0 WORK_FOLDER\n" unless $work;
mkdir $work;

my @texts = ("", "Shopping", "Line one\nline two\n", "Caf\xe9 \x80 5, \"quoted\"; semi",
             "x" x 300, "\x93curly\x94 \x85 tab\there");
my @categories = ("Unfiled", "Business", "Personal", "Caf\xe9 \x80");

sub name_categories {
    my ($pdb) = @_;
    for my $i (0 .. $#categories) {
        $pdb->{appinfo}{categories}[$i]{name} = $categories[$i];
        $pdb->{appinfo}{categories}[$i]{id} = $i;
    }
}

# Sets category, private, deleted and archive marks from a counter.
sub mark_record {
    my ($record, $n) = @_;
    $record->{category} = $n % 4;
    $record->{attributes}{private} = 1 if $n % 3 == 1;
    $record->{attributes}{dirty} = 1 if $n % 5 == 2;
    if ($n % 7 == 3) {
        $record->{attributes}{deleted} = 1;
        $record->{attributes}{archive} = 1 if $n % 2;
    }
    $record->{id} = 1000 + $n;
}

sub write_memos {
    my $pdb = Palm::Memo->new;
    name_categories($pdb);
    $pdb->{appinfo}{sortOrder} = 1;
    my $n = 0;
    for my $text (@texts) {
        my $record = $pdb->append_Record;
        $record->{data} = $text;
        mark_record($record, $n++);
    }
    $pdb->Write("$work/MemoDB.pdb");
}

sub write_addresses {
    my $pdb = Palm::Address->new;
    name_categories($pdb);
    $pdb->{appinfo}{fieldLabels}{custom1} = "Birthday";
    $pdb->{appinfo}{fieldLabels}{custom3} = "Spouse, \x80";
    $pdb->{appinfo}{dirtyFields} = 0x14000;
    $pdb->{appinfo}{country} = 8;
    $pdb->{appinfo}{misc} = 1;
    my @names = qw(name firstName company phone1 phone2 phone3 phone4 phone5 address city
                   state zipCode country title custom1 custom2 custom3 custom4 note);
    for my $n (0 .. 39) {
        my $record = $pdb->append_Record;
        # A different set of fields for each record, every field in some.
        for my $i (0 .. $#names) {
            next unless ($n * 7 + $i * 3) % 5 < 3 || $n == 0;
            $record->{fields}{$names[$i]} = $texts[($n + $i) % @texts] || "$names[$i] $n";
        }
        $record->{phoneLabel}{"phone$_"} = ($n + $_) % 8 for 1 .. 5;
        $record->{phoneLabel}{display} = $n % 5;
        $record->{phoneLabel}{reserved} = 0;
        mark_record($record, $n);
    }
    $pdb->Write("$work/AddressDB.pdb");
}

sub write_todos {
    my $pdb = Palm::ToDo->new;
    name_categories($pdb);
    $pdb->{appinfo}{dirty_appinfo} = 3;
    $pdb->{appinfo}{sort_order} = 2;
    for my $n (0 .. 29) {
        my $record = $pdb->append_Record;
        if ($n % 4) {
            $record->{due_day} = 1 + $n % 28;
            $record->{due_month} = 1 + $n % 12;
            $record->{due_year} = 1995 + $n;
        }
        $record->{priority} = 1 + $n % 5;
        $record->{completed} = $n % 3 == 0 ? 1 : 0;
        $record->{description} = $texts[$n % @texts];
        $record->{note} = $n % 2 ? $texts[($n + 2) % @texts] : "";
        mark_record($record, $n);
    }
    $pdb->Write("$work/ToDoDB.pdb");
}

sub write_appointments {
    my $pdb = Palm::Datebook->new;
    name_categories($pdb);
    $pdb->{appinfo}{start_of_week} = 1;
    for my $n (0 .. 59) {
        my $record = $pdb->append_Record;
        @$record{qw(year month day)} = (1998 + $n % 12, 1 + $n % 12, 1 + ($n * 5) % 28);
        if ($n % 5 == 0) {
            $record->{$_} = 0xff for qw(start_hour start_minute end_hour end_minute);
        } else {
            @$record{qw(start_hour start_minute)} = ($n % 20, ($n * 7) % 60);
            @$record{qw(end_hour end_minute)} = ($n % 20 + 1 + $n % 3, ($n * 11) % 60);
        }
        $record->{alarm} = $n % 4 == 3 ? {} : { advance => ($n * 13) % 100, unit => $n % 3 };
        my $kind = $n % 6;
        if ($kind == 0) {
            $record->{repeat} = {};
        } else {
            my %repeat = (type => $kind, frequency => 1 + $n % 3, unknown => 0);
            if ($n % 4 != 1) {
                @repeat{qw(end_year end_month end_day)} = ($record->{year} + 1 + $n % 2, 1 + $n % 12, 28);
            }
            if ($kind == 2) {
                $repeat{repeat_days} = [map { (($n + 1) >> $_) & 1 || $_ == $n % 7 ? 1 : 0 } 0 .. 6];
                $repeat{start_of_week} = $n % 2;
            } elsif ($kind == 3) {
                $repeat{weeknum} = $n % 5;
                $repeat{daynum} = $n % 7;
            }
            $record->{repeat} = \%repeat;
        }
        $record->{exceptions} = [];
        if ($kind != 0 && $n % 3 != 0) {
            push @{$record->{exceptions}}, [1 + ($n + $_) % 28, 1 + $_ % 12, $record->{year} + 1]
                for 0 .. $n % 4;
        }
        $record->{description} = $texts[$n % @texts] || "Meeting $n";
        $record->{note} = $n % 2 ? $texts[($n + 1) % @texts] : undef;
        $record->{other_flags} = 0;
        mark_record($record, $n);
    }
    $pdb->Write("$work/DatebookDB.pdb");
}

# The file's own record list and app info block, as the file holds them.
sub raw_parts {
    my ($file) = @_;
    open my $in, '<:raw', $file or die "$file: $!";
    local $/;
    my $bytes = <$in>;
    close $in;
    my ($appinfo_offset, $sort_offset) = unpack "N N", substr($bytes, 52, 8);
    my $count = unpack "n", substr($bytes, 76, 2);
    my @entries;
    for my $i (0 .. $count - 1) {
        my ($offset, $attributes, @id) = unpack "N C C3", substr($bytes, 78 + 8 * $i, 8);
        push @entries, { offset => $offset, attributes => $attributes,
                         id => ($id[0] << 16) | ($id[1] << 8) | $id[2] };
    }
    for my $i (0 .. $#entries) {
        my $end = $i < $#entries ? $entries[$i + 1]{offset} : length $bytes;
        $entries[$i]{hex} = unpack "H*", substr($bytes, $entries[$i]{offset}, $end - $entries[$i]{offset});
    }
    my $appinfo_end = $sort_offset || (@entries ? $entries[0]{offset} : length $bytes);
    return (unpack("H*", substr($bytes, $appinfo_offset, $appinfo_end - $appinfo_offset)), @entries);
}

write_memos();
write_addresses();
write_todos();
write_appointments();

my %dump;
for my $name (qw(MemoDB AddressDB ToDoDB DatebookDB)) {
    my $file = "$work/$name.pdb";
    my $pdb = Palm::PDB->new;
    $pdb->Load($file);
    my ($appinfo_hex, @entries) = raw_parts($file);
    my @records;
    for my $i (0 .. $#{$pdb->{records}}) {
        my $record = { %{$pdb->{records}[$i]} };
        my $raw = $entries[$i];
        delete $record->{attributes}{$_} for qw(Delete Dirty Busy Secret);
        push @records, { hex => $raw->{hex}, attributes => $raw->{attributes},
                         uid => $raw->{id}, perl => $record };
    }
    my %appinfo = %{$pdb->{appinfo}};
    delete $appinfo{other};
    $dump{$name} = { appinfo_hex => $appinfo_hex, appinfo => \%appinfo, records => \@records };
}
print JSON::PP->new->ascii->canonical->encode(\%dump), "\n";
