#!/usr/bin/perl
# Writes Palm databases with other tools (Perl's Palm::PDB and txt2pdbdoc), reads them
# back with Palm::PDB and checks that `brisko-cli info --json` reads the same values.
# usage: compare_with_palm_perl.pl BRISKO_CLI WORK_FOLDER
use strict;
use warnings;
use JSON::PP;
use POSIX qw(strftime);
use Palm::PDB;
use Palm::Raw;

# Palm::Raw reads record databases only unless asked to read resource databases too.
&Palm::PDB::RegisterPRCHandlers("Palm::Raw", "");

my ($cli, $work) = @ARGV;
die "usage: $0 BRISKO_CLI WORK_FOLDER\n" unless $cli && $work;
mkdir $work;

my @files;

# Record databases and a resource database with assorted header values.
my @made = (
    { name => "MemoDB", type => "DATA", creator => "memo", version => 1, modnum => 57,
      attributes => { backup => 1 }, ctime => 1110792413, mtime => 1162490650,
      baktime => 1162492200, records => 3 },
    { name => "Flags all set", type => "DATA", creator => "Flgs", version => 65535,
      modnum => 0xFFFFFFFF, attributes => { "read-only" => 1, "AppInfo dirty" => 1,
      backup => 1, "OK newer" => 1, reset => 1, CopyPrevention => 1 },
      ctime => 946684800, mtime => 2000000000, baktime => 1000000000, records => 0 },
    { name => "Application", type => "appl", creator => "ApPl", version => 3,
      attributes => { resource => 1, backup => 1 }, ctime => 991396800,
      mtime => 991396800, baktime => 991396800, resources => 2 },
);
for my $made_file (@made) {
    my $pdb = Palm::Raw->new;
    $pdb->{$_} = $made_file->{$_} for qw(name type creator version modnum ctime mtime baktime);
    $pdb->{attributes} = $made_file->{attributes};
    if ($made_file->{resources}) {
        for my $i (1 .. $made_file->{resources}) {
            my $res = $pdb->append_Resource;
            $res->{type} = "code"; $res->{id} = $i; $res->{data} = "x" x (10 * $i);
        }
    } else {
        for my $i (1 .. $made_file->{records}) {
            my $rec = $pdb->append_Record;
            $rec->{data} = "record $i\0";
        }
    }
    my $file = "$work/" . ($made_file->{resources} ? "$made_file->{name}.prc" : "$made_file->{name}.pdb");
    $pdb->Write($file);
    push @files, $file;
}

# A Palm DOC e-book written by txt2pdbdoc.
open my $text, '>', "$work/book.txt" or die $!;
print $text "Chapter one\n" x 500;
close $text;
system("txt2pdbdoc", "Sample Book", "$work/book.txt", "$work/book.pdb") == 0
    or die "txt2pdbdoc failed\n";
push @files, "$work/book.pdb";

open my $json_out, '-|', $cli, 'info', '--json', @files or die "cannot run $cli: $!";
my $json = do { local $/; <$json_out> };
close $json_out;
die "brisko-cli exited with status " . ($? >> 8) . "\n" if $?;
my $read = decode_json($json);

# Palm::PDB turns header dates into Unix times as if they were UTC; the header holds
# local wall-clock times, which brisko-cli prints without a zone.
# A stored count below the 1904-to-1970 offset (0 = never backed up, or a tool that
# wrote Unix time) is read by Brisko as seconds since 1970.
sub wall_clock {
    my $unix = shift;
    $unix += 2082844800 if $unix < 0;
    strftime("%Y-%m-%dT%H:%M:%S", gmtime($unix));
}
sub signed32 { my $v = shift; $v >= 2**31 ? $v - 2**32 : $v }

my $failures = 0;
sub check {
    my ($file, $field, $got, $want) = @_;
    return if defined $got && $got eq $want;
    $got = "(missing)" unless defined $got;
    print "MISMATCH $file $field: brisko-cli '$got', Palm::PDB '$want'\n";
    $failures++;
}

for my $i (0 .. $#files) {
    my $file = $files[$i];
    my $pdb = Palm::PDB->new;
    $pdb->Load($file);
    my $r = $read->[$i];
    check($file, "file", $r->{file}, $file);
    my $a = $pdb->{attributes};
    check($file, "name", $r->{name}, $pdb->{name});
    check($file, "type", $r->{type}, $pdb->{type});
    check($file, "creator", $r->{creator}, $pdb->{creator});
    check($file, "readOnly", $r->{readOnly} ? 1 : 0, $a->{ReadOnly} ? 1 : 0);
    check($file, "dirty", $r->{dirty} ? 1 : 0, $a->{AppInfoDirty} ? 1 : 0);
    check($file, "backup", $r->{backup} ? 1 : 0, $a->{Backup} ? 1 : 0);
    check($file, "overwrite", $r->{overwrite} ? 1 : 0, $a->{OKToInstallNewer} ? 1 : 0);
    check($file, "forceReset", $r->{forceReset} ? 1 : 0, $a->{ResetAfterInstall} ? 1 : 0);
    check($file, "noBeaming", $r->{noBeaming} ? 1 : 0, $a->{CopyPrevention} ? 1 : 0);
    check($file, "resource bit", ($r->{attributes} & 1), $a->{ResDB} ? 1 : 0);
    check($file, "version", $r->{version}, $pdb->{version});
    check($file, "created", $r->{created}, wall_clock($pdb->{ctime}));
    check($file, "modified", $r->{modified}, wall_clock($pdb->{mtime}));
    check($file, "backedUp", $r->{backedUp}, wall_clock($pdb->{baktime}));
    check($file, "modNumber", $r->{modNumber}, signed32($pdb->{modnum}));
    check($file, "idSeed", $r->{idSeed}, signed32($pdb->{uniqueIDseed}));
    my $count = $pdb->{attributes}{ResDB} ? @{$pdb->{resources} || []} : @{$pdb->{records} || []};
    check($file, "recordCount", $r->{recordCount}, $count);
    check($file, "fileSize", $r->{fileSize}, -s $file);
}
print scalar(@files) . " files compared, $failures mismatches\n";
exit($failures ? 1 : 0);
