#!/usr/bin/perl
# Makes PalmDOC e-books of assorted texts with txt2pdbdoc, compressed and not, reads their
# records with Perl's Palm::PDB and prints, as JSON, each book's text and records in hex.
# usage: txt2pdbdoc_records.pl WORK_FOLDER > books.json
use strict;
use warnings;
use JSON::PP;
use Palm::PDB;
use Palm::Raw;

my ($work) = @ARGV;
die "usage: $0 WORK_FOLDER\n" unless $work;
mkdir $work;
&Palm::PDB::RegisterPDBHandlers("Palm::Raw", [ "REAd", "TEXt" ]);

my $prose = join "", map { "Chapter $_. It was a dark and stormy night; the rain fell in torrents.\n" } 1 .. 400;
my $bytes = join "", map { chr } 9 .. 255;
my %texts = (
    short => "Hello, e-book.\n",
    prose => $prose,
    windows1252 => ("Caf\xe9 \x80 na\xefve \x93quoted\x94 " x 300),
    all_bytes => $bytes x 60,
    spaces => (" a b c d e f" x 2000),
    runs => ("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\n" x 200),
);

my @books;
for my $name (sort keys %texts) {
    for my $compressed (1, 0) {
        my $txt = "$work/$name.txt";
        my $pdb_file = "$work/$name-$compressed.pdb";
        open my $out, '>:raw', $txt or die "$txt: $!";
        print $out $texts{$name};
        close $out;
        my @options = ("-b", $compressed ? () : ("-c"));
        system("txt2pdbdoc", @options, $name, $txt, $pdb_file) == 0 or die "txt2pdbdoc failed\n";
        my $pdb = Palm::PDB->new;
        $pdb->Load($pdb_file);
        push @books, { name => $name, compressed => $compressed,
                       text_hex => unpack("H*", $texts{$name}),
                       records => [ map { unpack "H*", $_->{data} } @{$pdb->{records}} ] };
    }
}
print JSON::PP->new->canonical->encode(\@books), "\n";
