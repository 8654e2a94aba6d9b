// Statements as a maker's update script writes them, each with the result Jet gives, run
// through Execute with dbFailOnError as a script line is. Rows live in the .inc files beside
// this one, grouped by what they exercise.
#pragma once

namespace daotest {

// One statement of the corpus.
//  preparo:   statements run first, one per line ("\n"), on the fixture of DaoFixture.h
//  instrucao: the statement under test, run with Execute(..., dbFailOnError); "" for none
//  consulta:  a query read back afterwards; "" when only the error matters
//  esperado:  the query's rows as Rows() gives them, joined by "\n" ("" for no row)
//  erro:      Jet's error number for the statement (0: Jet runs it)
//  antes:     what the layer did before it learnt the statement: 'i' gave Jet's result,
//             'd' a different one, 'r' refused it
//  fonte:     where Jet's behaviour is documented
struct CasoJet {
    const char* preparo;
    const char* instrucao;
    const char* consulta;
    const char* esperado;
    long erro;
    char antes;
    const char* fonte;
};

}  // namespace daotest
