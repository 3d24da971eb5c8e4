#!/usr/bin/perl
# Writes Palm databases with other tools (Perl's Palm::PDB and txt2pdbdoc), reads them
# back with Palm::PDB and checks that `brisko-cli info --json` reads the same header
# values, `brisko-cli contents --json` the same records, resources, blocks and category
# names, and that `brisko-cli extract` writes the same bytes.
# usage: compare_with_palm_perl.pl BRISKO_CLI WORK_FOLDER
use strict;
use warnings;
use Encode qw(decode);
use JSON::PP;
use POSIX qw(strftime);
use Palm::PDB;
use Palm::Raw;
# Its functions only: its import would make it the reader of every database, and the
# app info blocks are compared as Palm::Raw reads them, as bytes.
require Palm::StdAppInfo;

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

# Records with categories (a standard app info block), attributes and unique IDs; the
# deleted record goes to the end of the list, as Palm::PDB writes it.
{
    my $pdb = Palm::Raw->new;
    $pdb->{name} = "Categories";
    $pdb->{type} = "DATA";
    $pdb->{creator} = "cATS";
    my $appinfo = {};
    &Palm::StdAppInfo::seed_StdAppInfo($appinfo);
    $appinfo->{categories}[1] = { name => "Business", id => 1, renamed => 1 };
    $appinfo->{categories}[2] = { name => "Pers\xF6nlich \x80", id => 2, renamed => 0 };
    $appinfo->{categories}[15] = { name => "Fifteen chars..", id => 15, renamed => 1 };
    $pdb->{appinfo} = &Palm::StdAppInfo::pack_StdAppInfo($appinfo) . "app-specific tail";
    $pdb->{sort} = "sort block";
    my @made_records = (
        { category => 0, id => 0x000001, attributes => {} },
        { category => 1, id => 0xABCDEF, attributes => { Dirty => 1 } },
        { category => 2, id => 0x123456, attributes => { Secret => 1 } },
        { category => 15, id => 0xFFFFFF, attributes => { Dirty => 1, Secret => 1 } },
        # Palm::PDB writes the archive bit instead of the category only under the old
        # name of the busy bit, and reads none back for a busy record.
        { category => 3, id => 0x000100, attributes => { deleted => 1, archive => 1 } },
        { category => 0, id => 0x000200, attributes => { Delete => 1, archive => 1 } },
    );
    my $i = 0;
    for my $made_record (@made_records) {
        my $rec = $pdb->append_Record;
        $rec->{$_} = $made_record->{$_} for qw(category id);
        $rec->{attributes} = $made_record->{attributes};
        $rec->{data} = join("", map { chr(($i * 37 + $_) % 256) } 0 .. 40 * $i);
        $i++;
    }
    $pdb->Write("$work/Categories.pdb");
    push @files, "$work/Categories.pdb";
}

# A resource database of several types and IDs, one of them empty.
{
    my $pdb = Palm::Raw->new;
    $pdb->{name} = "Resources";
    $pdb->{type} = "appl";
    $pdb->{creator} = "RsRc";
    $pdb->{attributes} = { resource => 1 };
    my @made_resources = (["code", 0, 300], ["code", 1, 5000], ["tSTR", 1000, 17],
                          ["tAIB", 1000, 0], ["data", 0, 64], ["MBAR", 0x7FFF, 3]);
    for my $made_resource (@made_resources) {
        my $res = $pdb->append_Resource;
        ($res->{type}, $res->{id}) = @{$made_resource}[0, 1];
        $res->{data} = join("", map { chr(($_ * 7 + $res->{id}) % 256) } 1 .. $made_resource->[2]);
    }
    $pdb->Write("$work/Resources.prc");
    push @files, "$work/Resources.prc";
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
# The contents: every entry's fields, the blocks, the category names and the extracted bytes.
sub read_file {
    my $path = shift;
    open my $in, '<:raw', $path or return undef;
    local $/;
    my $bytes = <$in>;
    close $in;
    return $bytes;
}
sub safe_type {
    join "", map { /[A-Za-z0-9_-]/ ? $_ : sprintf("%%%02X", ord) } split //, shift;
}
my $entries_compared = 0;
for my $file (@files) {
    open my $out, '-|', $cli, 'contents', '--json', $file or die "cannot run $cli: $!";
    my $text = do { local $/; <$out> };
    close $out;
    if ($?) {
        print "MISMATCH $file: brisko-cli contents exited with status " . ($? >> 8) . "\n";
        $failures++;
        next;
    }
    my $c = decode_json($text);
    my $pdb = Palm::PDB->new;
    $pdb->Load($file);
    my $resources = $pdb->{attributes}{ResDB} ? 1 : 0;
    check($file, "kind", $c->{kind}, $resources ? "resources" : "records");
    check($file, "problems", scalar(@{$c->{problems}}), 0);
    my @perl = $resources ? @{$pdb->{resources} || []} : @{$pdb->{records} || []};
    check($file, "entry count", scalar(@{$c->{entries}}), scalar(@perl));

    my $folder = "$work/extracted-" . ($file =~ s{.*/}{}r);
    system("rm", "-rf", $folder) == 0 or die;
    mkdir $folder or die "$folder: $!";
    open my $extract, '-|', $cli, "extract", $file, "--to", $folder or die "cannot run $cli: $!";
    my @written = <$extract>; # the names of the files written
    close $extract;
    if ($?) {
        print "MISMATCH $file: brisko-cli extract exited with status " . ($? >> 8) . "\n";
        $failures++;
    }

    for my $i (0 .. $#perl) {
        my ($p, $b) = ($perl[$i], $c->{entries}[$i] || {});
        my $what = "entry $i";
        check($file, "$what index", $b->{index}, $i);
        check($file, "$what size", $b->{size}, length $p->{data});
        check($file, "$what problem", $b->{problem} // "", "");
        my $name;
        if ($resources) {
            check($file, "$what type", $b->{type}, $p->{type});
            check($file, "$what id", $b->{id}, $p->{id});
            $name = sprintf("%s-%04X.bin", safe_type($p->{type}), $p->{id});
        } else {
            my $a = $p->{attributes};
            my $bits = ($a->{Delete} ? 0x80 : 0) | ($a->{Dirty} ? 0x40 : 0) |
                       ($a->{Busy} ? 0x20 : 0) | ($a->{Secret} ? 0x10 : 0);
            check($file, "$what attributes", $b->{attributes}, $bits);
            # Palm::PDB gives a deleted or busy record no category, only the archive bit.
            my $category = defined $p->{category} ? $p->{category} : ($a->{archive} ? 8 : 0);
            check($file, "$what category", $b->{category}, $category);
            check($file, "$what uniqueId", $b->{uniqueId}, $p->{id});
            $name = sprintf("record-%04d-%06X.bin", $i, $p->{id});
        }
        my $bytes = read_file("$folder/$name");
        check($file, "$what extracted bytes ($name)", defined $bytes ? unpack("H*", $bytes) : undef,
              unpack("H*", $p->{data}));
        $entries_compared++;
    }
    for my $block (["appInfo", "appinfo", "appinfo.bin"], ["sortInfo", "sort", "sortinfo.bin"]) {
        my ($key, $perl_key, $name) = @$block;
        my $data = $pdb->{$perl_key};
        if (defined $data && length $data) {
            check($file, "$key size", ref $c->{$key} ? $c->{$key}{size} : undef, length $data);
            my $bytes = read_file("$folder/$name");
            check($file, "$name", defined $bytes ? unpack("H*", $bytes) : undef, unpack("H*", $data));
        } else {
            check($file, "$key", defined $c->{$key} ? "present" : "null", "null");
        }
    }
    if ($file =~ /Categories/) {
        my $appinfo = {};
        &Palm::StdAppInfo::parse_StdAppInfo($appinfo, $pdb->{appinfo});
        for my $i (0 .. 15) {
            check($file, "category name $i", $c->{categories} ? $c->{categories}[$i] : undef,
                  decode("cp1252", $appinfo->{categories}[$i]{name}));
        }
    }
}
print "$entries_compared entries compared by contents and extract\n";
print scalar(@files) . " files compared, $failures mismatches\n";
exit($failures ? 1 : 0);
